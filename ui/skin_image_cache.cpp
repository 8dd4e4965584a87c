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
  if (path.parent_path() != folder_) {
    kept_.clear();
    folder_ = path.parent_path();
  }
  const auto twice = scale == kUnscaled ? std::nullopt : StampOf(DoubleSizePath(path));
  const auto key = std::make_pair(path.string(), scale);
  if (const auto found = kept_.find(key);
      found != kept_.end() && found->second.file == *file && found->second.twice == twice) {
    return &found->second.image;
  }
  kept_.erase(key);
  auto image = DecodeAtScale(decoder_, path, scale, true);
  if (!image) {
    return nullptr;
  }
  return &kept_.insert_or_assign(key, Kept{*file, twice, std::move(*image)}).first->second.image;
}

}  // namespace q8
