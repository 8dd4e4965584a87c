#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "ui/image_decoder.h"
#include "ui/png_file.h"

namespace q8 {

// The decoded images of one skin folder, ready to draw: premultiplied where they have alpha and at
// the scale asked for (DecodeAtScale), so that a hover change or a page redraw decodes nothing.
// Each image is checked against its file at every look-up: a file of another size or modification
// time is decoded again, so a skin edited on disk shows at the next draw. An image from another
// folder or at another scale drops every image kept, so a newly chosen skin never shows an old
// image and one skin's images at one scale at most are held. Nothing is kept for a path that is
// not a file. A file that cannot be decoded is read again only once it changed: a damaged image of
// many megabytes would otherwise be read at every hover. Beyond the most pixels it may keep
// (kMaxKeptPixels unless told), an image is decoded at every draw rather than held.
class SkinImageCache {
 public:
  // Room for every image of the delivered skins at 500 %, and for four of the largest images a
  // skin may hold: 256 MiB.
  static constexpr std::size_t kMaxKeptPixels = 4u * kMaxImageSide * kMaxImageSide;

  explicit SkinImageCache(ImageDecoder& decoder, std::size_t maxKeptPixels = kMaxKeptPixels)
      : decoder_(decoder), maxKeptPixels_(maxKeptPixels) {}
  SkinImageCache(const SkinImageCache&) = delete;
  SkinImageCache& operator=(const SkinImageCache&) = delete;

  // The image at `path` as drawn at `scale`, or null when it cannot be decoded. The image stays
  // valid until the next look-up or Clear.
  const DecodedImage* Find(const std::filesystem::path& path, double scale);

  // The pixels of the image kept for `path`, which is kept no more; nothing when none is kept.
  std::optional<Canvas> Take(const std::filesystem::path& path);

  // How many images are kept.
  std::size_t size() const { return kept_.size(); }
  // Lets go of every image, the last one drawn without being kept too.
  void Clear() {
    kept_.clear();
    failed_.clear();
    keptPixels_ = 0;
    unkept_.reset();
  }

 private:
  struct FileStamp {
    std::uintmax_t size = 0;
    std::filesystem::file_time_type modified;
    friend bool operator==(const FileStamp&, const FileStamp&) = default;
  };
  struct Stamps {
    FileStamp file;
    // The double-size file's, for a scaled image (none when the skin lacks it).
    std::optional<FileStamp> twice;
    friend bool operator==(const Stamps&, const Stamps&) = default;
  };
  struct Kept {
    Stamps stamps;
    DecodedImage image;
  };

  static std::optional<FileStamp> StampOf(const std::filesystem::path& path);

  ImageDecoder& decoder_;
  const std::size_t maxKeptPixels_;
  std::filesystem::path folder_;
  double scale_ = 1.0;
  std::map<std::string, Kept> kept_;
  // The files that could not be decoded as they are now: not read again until they change.
  std::map<std::string, Stamps> failed_;
  std::size_t keptPixels_ = 0;
  std::optional<DecodedImage> unkept_;
};

}  // namespace q8
