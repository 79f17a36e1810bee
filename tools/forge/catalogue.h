// The show's picture files: which names it registers, with which extension,
// and which keys take their pixels from another file.
#pragma once
#include <string>
#include <vector>

struct ShowImage {
    std::string key;      // name the show finds the image by
    std::string file;     // key + extension, the path it registers
    std::string picture;  // file its pixels come from (== file unless substituted)
};

// The 96 registered images in registration order.
std::vector<ShowImage> showImages();

// Every file under Resources/ that the show opens, relative to Resources/
// ("torvanel/paper.png", "demoresources/torvanel_loader.png", ...).
std::vector<std::string> showFiles();

// "fish2.png" -> "fish2"
std::string fileStem(const std::string& file);
