#include "timing/soundtrack_decode.h"

#include <mpg123.h>
#include <sys/stat.h>

#include <cstdio>
#include <new>
#include <string>

#include "platform/data_dir.h"

namespace {

constexpr size_t READ_CHUNK = 64 * 1024;  // int16 values per read
// No mp3 holds more sound per byte: the lowest bit rate at the lowest sample
// rate, converted up to 44100 Hz, gives under 48 sample frames a byte.
constexpr uint64_t MAX_FRAMES_PER_FILE_BYTE = 48;

// Where the one line goes: standard output, or the caller's string.
thread_local std::string* reportTo = nullptr;

void report(const char* path, const char* what, const char* why) {
    std::string line = std::string("decodeSoundtrack - ") + what + " " + path + " - " + why + "\n";
    if (reportTo)
        *reportTo += line;
    else
        fputs(line.c_str(), stdout);
}

bool isPlayableFormat(mpg123_handle* mh) {
    long rate = 0;
    int channels = 0, encoding = 0;
    return mpg123_getformat(mh, &rate, &channels, &encoding) == MPG123_OK &&
           rate == SOUNDTRACK_RATE && channels == SOUNDTRACK_CHANNELS &&
           encoding == MPG123_ENC_SIGNED_16;
}

bool decodeOpened(mpg123_handle* mh, const char* path, uint64_t fileBytes, std::vector<int16_t>* pcm) {
    int result = mpg123_getformat(mh, nullptr, nullptr, nullptr);
    if (result != MPG123_OK) {
        report(path, "no mp3 audio in", mpg123_strerror(mh));
        return false;
    }
    if (!isPlayableFormat(mh)) {
        report(path, "cannot convert", "not decodable as 16-bit stereo at 44100 Hz");
        return false;
    }
    // The header's claimed length only sizes the buffer up front, and only
    // as far as the file could hold.
    off_t frames = mpg123_length(mh);
    if (frames > 0 && uint64_t(frames) <= fileBytes * MAX_FRAMES_PER_FILE_BYTE)
        pcm->reserve(size_t(frames) * SOUNDTRACK_CHANNELS + READ_CHUNK);
    for (;;) {
        size_t used = pcm->size();
        pcm->resize(used + READ_CHUNK);
        size_t bytes = 0;
        result = mpg123_read(mh, pcm->data() + used, READ_CHUNK * sizeof(int16_t), &bytes);
        pcm->resize(used + bytes / sizeof(int16_t));
        if (result == MPG123_DONE) break;
        if (result == MPG123_NEW_FORMAT && isPlayableFormat(mh)) continue;
        if (result != MPG123_OK) {
            report(path, pcm->empty() ? "cannot decode" : "stopped early in",
                   mpg123_strerror(mh));
            break;
        }
    }
    if (pcm->empty()) {
        if (result == MPG123_DONE) report(path, "no mp3 audio in", "nothing decoded");
        return false;
    }
    return true;
}

}  // namespace

bool decodeSoundtrack(const char* path, std::vector<int16_t>* pcm, std::string* said) {
    reportTo = said;
    pcm->clear();
    int error = MPG123_OK;
    mpg123_handle* mh = mpg123_new(nullptr, &error);
    if (!mh) {
        report(path, "cannot start the decoder for", mpg123_plain_strerror(error));
        return false;
    }
    mpg123_param(mh, MPG123_ADD_FLAGS, MPG123_QUIET, 0);
    // Only the playing format is allowed: the decoder converts everything else.
    mpg123_format_none(mh);
    mpg123_format(mh, SOUNDTRACK_RATE, MPG123_STEREO, MPG123_ENC_SIGNED_16);

    bool ok = false;
    struct stat info;
    std::string file = dataFile(path);
    if (stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        report(path, "cannot open", "not a regular file");
    } else if (mpg123_open(mh, file.c_str()) != MPG123_OK) {
        report(path, "cannot open", mpg123_strerror(mh));
    } else {
        try {
            ok = decodeOpened(mh, path, uint64_t(info.st_size), pcm);
        } catch (const std::bad_alloc&) {
            report(path, "cannot decode", "not enough memory for the decoded sound");
        }
        mpg123_close(mh);
    }
    mpg123_delete(mh);
    if (!ok) pcm->clear();
    return ok;
}
