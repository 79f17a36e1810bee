#include "svg.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

static bool readText(const std::string& path, std::string* out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream ss;
    ss << in.rdbuf();
    *out = ss.str();
    return true;
}

static bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Removes `name="..."` from one tag's text.
static void removeAttribute(std::string* tag, const char* name) {
    size_t n = std::strlen(name);
    for (size_t i = 1; i + n < tag->size(); ++i) {
        if (!isSpace((*tag)[i - 1]) || tag->compare(i, n, name) != 0) continue;
        size_t j = i + n;
        while (j < tag->size() && isSpace((*tag)[j])) ++j;
        if (j >= tag->size() || (*tag)[j] != '=') continue;
        ++j;
        while (j < tag->size() && isSpace((*tag)[j])) ++j;
        if (j >= tag->size() || ((*tag)[j] != '"' && (*tag)[j] != '\'')) continue;
        size_t end = tag->find((*tag)[j], j + 1);
        if (end == std::string::npos) return;
        tag->erase(i, end + 1 - i);
        return;
    }
}

// The drawing's page becomes the crop box, so the renderer maps the box onto
// the whole surface and nothing outside it is drawn.
static bool setViewBox(std::string* text, const float box[4]) {
    size_t start = text->find("<svg");
    while (start != std::string::npos && !isSpace((*text)[start + 4])) start = text->find("<svg", start + 4);
    if (start == std::string::npos) return false;
    size_t end = text->find('>', start);
    if (end == std::string::npos) return false;
    std::string tag = text->substr(start, end - start);
    for (const char* a : {"width", "height", "viewBox", "preserveAspectRatio"}) removeAttribute(&tag, a);
    char attrs[200];
    std::snprintf(attrs, sizeof attrs, " viewBox=\"%g %g %g %g\" width=\"%g\" height=\"%g\"", box[0], box[1],
                  box[2], box[3], box[2], box[3]);
    tag.insert(4, attrs);
    text->replace(start, end - start, tag);
    return true;
}

// Hides every drawable element outside the id range pathFrom..pathTo.
static void keepPaths(std::string* text, int from, int to) {
    static const char* const drawables[] = {"path", "rect", "circle", "ellipse", "polygon", "polyline", "line"};
    for (size_t i = text->find('<'); i != std::string::npos; i = text->find('<', i + 1)) {
        size_t nameEnd = i + 1;
        while (nameEnd < text->size() && std::isalpha(static_cast<unsigned char>((*text)[nameEnd]))) ++nameEnd;
        std::string name = text->substr(i + 1, nameEnd - i - 1);
        bool drawable = false;
        for (const char* d : drawables) drawable = drawable || name == d;
        if (!drawable) continue;
        size_t end = text->find('>', i);
        if (end == std::string::npos) return;
        size_t id = text->find(" id=\"path", i);
        int n = -1;
        if (id != std::string::npos && id < end) n = std::atoi(text->c_str() + id + 9);
        if (n < from || n > to) text->insert(nameEnd, " display=\"none\"");
    }
}

static cv::Mat fromCairo(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    cv::Mat premul(h, w, CV_8UC4, cairo_image_surface_get_data(surface),
                   static_cast<size_t>(cairo_image_surface_get_stride(surface)));
    cv::Mat out(h, w, CV_8UC4);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            cv::Vec4b p = premul.at<cv::Vec4b>(y, x);
            if (p[3] > 0)
                for (int c = 0; c < 3; ++c) p[c] = static_cast<uchar>(std::min(255, p[c] * 255 / p[3]));
            out.at<cv::Vec4b>(y, x) = p;
        }
    return out;
}

cv::Mat renderSvg(const std::string& clipartDir, const SvgCut& cut, int size) {
    std::string path = clipartDir + "/" + cut.path, text;
    if (!readText(path, &text)) {
        std::fprintf(stderr, "forge: cannot read %s\n", path.c_str());
        return {};
    }
    if (cut.keepTo > 0) keepPaths(&text, cut.keepFrom, cut.keepTo);
    if (cut.box[2] > 0 && !setViewBox(&text, cut.box)) {
        std::fprintf(stderr, "forge: no <svg> element in %s\n", path.c_str());
        return {};
    }
    GError* error = nullptr;
    RsvgHandle* handle =
        rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(text.data()), text.size(), &error);
    if (!handle) {
        std::fprintf(stderr, "forge: cannot parse %s: %s\n", path.c_str(), error ? error->message : "?");
        if (error) g_error_free(error);
        return {};
    }
    double w = cut.box[2], h = cut.box[3];
    RsvgRectangle ink{}, logical{};
    std::string id = cut.element ? std::string("#") + cut.element : "";
    if (cut.element) {
        if (!rsvg_handle_get_geometry_for_element(handle, id.c_str(), &ink, &logical, &error)) {
            std::fprintf(stderr, "forge: no element %s in %s\n", cut.element, path.c_str());
            if (error) g_error_free(error);
            g_object_unref(handle);
            return {};
        }
        w = ink.width, h = ink.height;
    } else if (w <= 0 && !rsvg_handle_get_intrinsic_size_in_pixels(handle, &w, &h)) {
        w = h = 100;
    }
    double scale = size / std::max(w, h);
    int pw = std::max(1, static_cast<int>(w * scale + 0.5)), ph = std::max(1, static_cast<int>(h * scale + 0.5));
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, pw, ph);
    cairo_t* cr = cairo_create(surface);
    RsvgRectangle viewport{0, 0, static_cast<double>(pw), static_cast<double>(ph)};
    bool ok = cut.element ? rsvg_handle_render_element(handle, cr, id.c_str(), &viewport, &error)
                          : rsvg_handle_render_document(handle, cr, &viewport, &error);
    if (!ok) {
        std::fprintf(stderr, "forge: cannot render %s: %s\n", path.c_str(), error ? error->message : "?");
        if (error) g_error_free(error);
    }
    cv::Mat out = ok ? fromCairo(surface) : cv::Mat();
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    g_object_unref(handle);
    return out;
}
