// Reading and writing PNG files with libpng.
#include <png.h>

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "host/sys/atomic_file.h"
#include "host/sys/file_read.h"
#include "host/ui/image.h"

namespace host::ui {

namespace {

struct ReadSource {
    const std::string* bytes;
    std::size_t offset;
};

void readFromMemory(png_structp png, png_bytep out, png_size_t length) {
    auto* source = static_cast<ReadSource*>(png_get_io_ptr(png));
    if (source->offset + length > source->bytes->size()) png_error(png, "the file ends early");
    std::memcpy(out, source->bytes->data() + source->offset, length);
    source->offset += length;
}

void writeToString(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::string*>(png_get_io_ptr(png));
    out->append(reinterpret_cast<const char*>(data), length);
}

void flushNothing(png_structp) {}

// libpng reports errors by longjmp; the message is kept here for the caller.
struct ErrorText {
    char text[200] = {};
};

void onError(png_structp png, png_const_charp message) {
    auto* error = static_cast<ErrorText*>(png_get_error_ptr(png));
    std::snprintf(error->text, sizeof error->text, "%s", message);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

int blend(int value, int alpha, int background) { return (value * alpha + background * (255 - alpha) + 127) / 255; }

// Runs libpng over the file's bytes into RGBA rows. Everything that lives across the setjmp is the caller's
// or is set before it, so a longjmp from libpng skips no destructor.
bool decodePng(const std::string& bytes, std::vector<png_byte>& pixels, std::vector<png_bytep>& rowPointers,
               png_uint_32& width, png_uint_32& height, ErrorText& error) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::snprintf(error.text, sizeof error.text, "out of memory");
        return false;
    }
    ReadSource source{&bytes, 0};
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_user_limits(png, kMaxPngSide, kMaxPngSide);
    png_set_read_fn(png, &source, readFromMemory);
    png_read_info(png, info);
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    width = png_get_image_width(png, info);
    height = png_get_image_height(png, info);
    if (png_get_rowbytes(png, info) != static_cast<png_size_t>(width) * 4) png_error(png, "unexpected pixel layout");
    pixels.resize(static_cast<std::size_t>(width) * 4 * height);
    rowPointers.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) rowPointers[y] = pixels.data() + static_cast<std::size_t>(y) * width * 4;
    png_read_image(png, rowPointers.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// Encodes RGB rows; as above, nothing with a destructor is made after the setjmp.
bool encodePng(const Image& image, std::string& encoded, std::vector<png_byte>& row, ErrorText& error) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, &error, onError, onWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        std::snprintf(error.text, sizeof error.text, "out of memory");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_set_write_fn(png, &encoded, writeToString, flushNothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width()), static_cast<png_uint_32>(image.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const ColorRef c = image.at(x, y);
            row[static_cast<std::size_t>(x) * 3 + 0] = static_cast<png_byte>(redOf(c));
            row[static_cast<std::size_t>(x) * 3 + 1] = static_cast<png_byte>(greenOf(c));
            row[static_cast<std::size_t>(x) * 3 + 2] = static_cast<png_byte>(blueOf(c));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

PngRead readPng(const std::filesystem::path& path, ColorRef background) {
    PngRead result;
    auto file = sys::readFileBytes(path, kMaxPngFileBytes);
    if (file.status != sys::FileReadStatus::Read) {
        result.error = file.status == sys::FileReadStatus::Missing ? "cannot read " + path.string() + ": no such file"
                                                                   : file.error;
        return result;
    }
    if (file.bytes.size() < 8 || png_sig_cmp(reinterpret_cast<png_const_bytep>(file.bytes.data()), 0, 8) != 0) {
        result.error = "cannot read " + path.string() + ": not a PNG file";
        return result;
    }
    ErrorText error;
    std::vector<png_byte> pixels;
    std::vector<png_bytep> rowPointers;
    png_uint_32 width = 0, height = 0;
    if (!decodePng(file.bytes, pixels, rowPointers, width, height, error)) {
        result.error = "cannot read " + path.string() + ": " + error.text;
        return result;
    }
    Image image(static_cast<int>(width), static_cast<int>(height));
    for (png_uint_32 y = 0; y < height; ++y)
        for (png_uint_32 x = 0; x < width; ++x) {
            const png_byte* p = rowPointers[y] + static_cast<std::size_t>(x) * 4;
            const int a = p[3];
            image.set(static_cast<int>(x), static_cast<int>(y),
                      rgb(blend(p[0], a, redOf(background)), blend(p[1], a, greenOf(background)),
                          blend(p[2], a, blueOf(background))));
        }
    result.image = std::move(image);
    return result;
}

bool writePng(const Image& image, const std::filesystem::path& path, std::string* error) {
    if (image.isEmpty()) {
        if (error) *error = "cannot write " + path.string() + ": the picture is empty";
        return false;
    }
    std::string encoded;
    ErrorText pngError;
    std::vector<png_byte> row(static_cast<std::size_t>(image.width()) * 3);
    if (!encodePng(image, encoded, row, pngError)) {
        if (error) *error = "cannot write " + path.string() + ": " + pngError.text;
        return false;
    }
    sys::AtomicFile file(path);
    if (!file.open(error)) return false;
    file.write(encoded);
    return file.commit(error);
}

}  // namespace host::ui
