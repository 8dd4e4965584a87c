#include "ui/skin_image_cache.h"

#include <system_error>

#include "ui/device_scale.h"

namespace q8 {

std::optional<SkinImageCache::FileStamp> SkinImageCache::StampOf(
    const std::filesystem::path& path) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error)) {
    return std::nullopt;
  }
  FileStamp stamp;
  stamp.size = std::filesystem::file_size(path, error);
  if (error) {
    return std::nullopt;
  }
  stamp.modified = std::filesystem::last_write_time(path, error);
  if (error) {
    return std::nullopt;
  }
  return stamp;
}

const DecodedImage* SkinImageCache::Find(const std::filesystem::path& path, double scale) {
  unkept_.reset();
  const auto file = StampOf(path);
  if (!file) {
    unkept_ = DecodeAtScale(decoder_, path, scale, true);
    return unkept_ ? &*unkept_ : nullptr;
  }
  if (path.parent_path() != folder_ || scale != scale_) {
    Clear();
    folder_ = path.parent_path();
    scale_ = scale;
  }
  const auto twice = scale == kUnscaled ? std::nullopt : StampOf(DoubleSizePath(path));
  const Stamps stamps{*file, twice};
  const std::string key = path.string();
  if (const auto found = kept_.find(key); found != kept_.end()) {
    if (found->second.stamps == stamps) {
      return &found->second.image;
    }
    keptPixels_ -= found->second.image.pixels.Pixels().size();
    kept_.erase(found);
  }
  if (const auto failed = failed_.find(key); failed != failed_.end()) {
    if (failed->second == stamps) {
      return nullptr;
    }
    failed_.erase(failed);
  }
  auto image = DecodeAtScale(decoder_, path, scale, true);
  if (!image) {
    failed_.insert_or_assign(key, stamps);
    return nullptr;
  }
  const std::size_t pixels = image->pixels.Pixels().size();
  if (keptPixels_ + pixels > maxKeptPixels_) {
    unkept_ = std::move(image);
    return &*unkept_;
  }
  keptPixels_ += pixels;
  return &kept_.insert_or_assign(key, Kept{stamps, std::move(*image)}).first->second.image;
}

std::optional<Canvas> SkinImageCache::Take(const std::filesystem::path& path) {
  const auto found = kept_.find(path.string());
  if (found == kept_.end()) {
    return std::nullopt;
  }
  Canvas pixels = std::move(found->second.image.pixels);
  keptPixels_ -= pixels.Pixels().size();
  kept_.erase(found);
  return pixels;
}

}  // namespace q8
