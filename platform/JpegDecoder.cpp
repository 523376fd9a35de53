#include "platform/JpegDecoder.h"

#include <csetjmp>
#include <cstdio>
#include <jpeglib.h>

namespace velmora {

namespace {

constexpr std::uint64_t kMaxPixels = std::uint64_t{64} * 1024 * 1024;

struct ErrorTrap {
    jpeg_error_mgr Manager;
    std::jmp_buf Jump;
    char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void TrapError(j_common_ptr info) {
    auto* trap = reinterpret_cast<ErrorTrap*>(info->err);
    info->err->format_message(info, trap->Message);
    std::longjmp(trap->Jump, 1);
}

// Treats a warning (corrupt data that libjpeg could step over) as the end too:
// a picture that decodes only in part is no picture.
void TrapWarning(j_common_ptr info, int level) {
    if (level < 0) {
        TrapError(info);
    }
}

std::uint32_t Pack(unsigned r, unsigned g, unsigned b) {
    return 0xFF000000u | r << 16 | g << 8 | b;
}

// Adobe writes CMYK inverted, which is what libjpeg hands out for it.
void StoreRow(const jpeg_decompress_struct& info, const JSAMPLE* row, std::uint32_t* out) {
    for (JDIMENSION x = 0; x < info.output_width; ++x) {
        const JSAMPLE* p =
            row + static_cast<std::size_t>(x) * static_cast<std::size_t>(info.output_components);
        if (info.out_color_space == JCS_GRAYSCALE) {
            out[x] = Pack(p[0], p[0], p[0]);
        } else if (info.out_color_space == JCS_CMYK) {
            const unsigned k = p[3];
            out[x] = Pack(p[0] * k / 255, p[1] * k / 255, p[2] * k / 255);
        } else {
            out[x] = Pack(p[0], p[1], p[2]);
        }
    }
}

// Kept free of C++ objects with destructors: longjmp leaves this frame.
bool Decode(std::string_view data, DecodedPicture& picture, ErrorTrap& trap) {
    jpeg_decompress_struct info{};
    info.err = jpeg_std_error(&trap.Manager);
    trap.Manager.error_exit = TrapError;
    trap.Manager.emit_message = TrapWarning;
    if (setjmp(trap.Jump) != 0) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(data.data()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&info, TRUE);
    if (info.jpeg_color_space != JCS_GRAYSCALE && info.jpeg_color_space != JCS_CMYK &&
        info.jpeg_color_space != JCS_YCCK) {
        info.out_color_space = JCS_RGB;
    }
    jpeg_start_decompress(&info);
    if (static_cast<std::uint64_t>(info.output_width) * info.output_height > kMaxPixels) {
        std::snprintf(trap.Message, sizeof trap.Message, "picture of %ux%u pixels is too large",
                      info.output_width, info.output_height);
        jpeg_destroy_decompress(&info);
        return false;
    }
    picture.Width = static_cast<int>(info.output_width);
    picture.Height = static_cast<int>(info.output_height);
    picture.Pixels.resize(static_cast<std::size_t>(info.output_width) * info.output_height);
    JSAMPARRAY row =
        (*info.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info), JPOOL_IMAGE,
                                  info.output_width * static_cast<JDIMENSION>(info.output_components), 1);
    while (info.output_scanline < info.output_height) {
        const JDIMENSION y = info.output_scanline;
        jpeg_read_scanlines(&info, row, 1);
        StoreRow(info, row[0], picture.Pixels.data() + static_cast<std::size_t>(y) * info.output_width);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

} // namespace

DecodedPicture DecodeJpeg(std::string_view data) {
    if (data.empty()) {
        throw JpegError("JPEG: no data");
    }
    DecodedPicture picture;
    ErrorTrap trap{};
    if (!Decode(data, picture, trap)) {
        throw JpegError(std::string("JPEG: ") + trap.Message);
    }
    return picture;
}

} // namespace velmora
