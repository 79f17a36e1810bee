#include "render/jpeg_decode.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <exception>

#include <jpeglib.h>

namespace {

// libjpeg reports errors through a callback that must not return: it jumps
// back into decodeJpegBgr, which then cleans up. Warnings (damaged but
// decodable data) are dropped, as the picture still comes out.
struct JumpingErrors {
    jpeg_error_mgr base;
    jmp_buf back;
    char message[JMSG_LENGTH_MAX];
};

void errorExit(j_common_ptr info) {
    JumpingErrors* errors = reinterpret_cast<JumpingErrors*>(info->err);
    info->err->format_message(info, errors->message);
    longjmp(errors->back, 1);
}

void dropMessage(j_common_ptr) {}

bool hasExif(j_decompress_ptr info) {
    for (jpeg_saved_marker_ptr m = info->marker_list; m; m = m->next)
        if (m->marker == JPEG_APP0 + 1 && m->data_length >= 6 && memcmp(m->data, "Exif\0\0", 6) == 0) return true;
    return false;
}

}  // namespace

JpegDecodeResult decodeJpegBgr(const uint8_t* bytes, size_t size, bool greyToBgr, cv::Mat* bgr, std::string* error) {
    jpeg_decompress_struct info;
    JumpingErrors errors;
    info.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = errorExit;
    errors.base.output_message = dropMessage;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        bgr->release();
        *error = std::string("picture cannot be decoded: ") + errors.message;
        return JPEG_FAILED;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, static_cast<unsigned long>(size));
    jpeg_save_markers(&info, JPEG_APP0 + 1, 0xffff);
    jpeg_read_header(&info, TRUE);
    bool colours = info.jpeg_color_space == JCS_YCbCr || info.jpeg_color_space == JCS_RGB ||
                   (greyToBgr && info.jpeg_color_space == JCS_GRAYSCALE);
    if (!colours || hasExif(&info)) {
        jpeg_destroy_decompress(&info);
        return JPEG_NOT_HANDLED;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    try {
        bgr->create(int(info.output_height), int(info.output_width), CV_8UC3);
    } catch (const std::exception& e) {  // out of memory
        jpeg_destroy_decompress(&info);
        *error = std::string("picture cannot be decoded: ") + e.what();
        return JPEG_FAILED;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = bgr->ptr<uint8_t>(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return JPEG_DECODED;
}
