// Pixel images and bitmaps: what the raster draws into, what memory device contexts select, what picture
// controls show; PNG reading and writing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/ui/constants.h"
#include "host/ui/geometry.h"

namespace host::ui {

struct DrawRecord;

// Pixels as ColorRef values (0x00BBGGRR), row by row from the top.
class Image {
public:
    Image() = default;
    Image(int width, int height, ColorRef fill = rgb(255, 255, 255));

    int width() const { return width_; }
    int height() const { return height_; }
    bool isEmpty() const { return width_ <= 0 || height_ <= 0; }
    // The pixel at (x, y); CLR_INVALID outside the image.
    ColorRef at(int x, int y) const;
    void set(int x, int y, ColorRef c);  // ignored outside the image
    void fill(const Rect& r, ColorRef c);
    // Copies `source`'s pixels from `sourceRect` so that its top-left lands on `to`, clipped to `clip` and to both
    // images.
    void copyFrom(const Image& source, const Rect& sourceRect, Point to, const Rect& clip);
    const std::vector<ColorRef>& pixels() const { return pixels_; }

    friend bool operator==(const Image&, const Image&) = default;

private:
    int width_ = 0;
    int height_ = 0;
    std::vector<ColorRef> pixels_;
};

// A device-dependent bitmap: a size, the drawing operations made on it through a memory device context (so
// that a BitBlt can publish them to the window it lands in), and pixels when the desktop keeps a raster or the
// bitmap was loaded from a file. Shared: a DC selects it, records that blit it keep it alive.
class Bitmap {
public:
    Bitmap(int width, int height);
    // A bitmap with the given pixels (a loaded picture); it has no records.
    explicit Bitmap(Image pixels, std::string name = {});
    ~Bitmap();
    Bitmap(const Bitmap&) = delete;
    Bitmap& operator=(const Bitmap&) = delete;

    int width() const { return width_; }
    int height() const { return height_; }
    Size size() const { return {width_, height_}; }
    // Where the bitmap came from (a file name), for records and tests; empty for a drawn one.
    const std::string& name() const { return name_; }

    // Operations drawn onto the bitmap, in its own pixel coordinates, oldest first.
    const std::vector<DrawRecord>& records() const { return records_; }
    void addRecord(DrawRecord record);
    void clearRecords();

    // The pixels, allocated on first use (white).
    Image& pixels();
    const Image* pixelsIfAny() const { return pixels_ ? &*pixels_ : nullptr; }

private:
    int width_ = 0;
    int height_ = 0;
    std::string name_;
    std::vector<DrawRecord> records_;
    std::optional<Image> pixels_;
};

using BitmapPtr = std::shared_ptr<Bitmap>;

// [SECTION] PNG files
struct PngRead {
    std::optional<Image> image;
    std::string error;  // "cannot read <path>: <reason>" when there is no image
};

// Largest PNG a picture may be read from: 16 MiB of file and 4096 x 4096 pixels. Pictures of dialogs are small;
// the bound keeps a damaged or wrong file from exhausting memory.
inline constexpr std::uintmax_t kMaxPngFileBytes = 16u << 20;
inline constexpr int kMaxPngSide = 4096;

// Reads a PNG file of any colour type; transparent pixels are blended onto `background`.
PngRead readPng(const std::filesystem::path& path, ColorRef background = rgb(255, 255, 255));
// Writes an 8-bit RGB PNG, atomically (the old file stays whole on failure). On failure `error` names the file.
bool writePng(const Image& image, const std::filesystem::path& path, std::string* error);

}  // namespace host::ui
