#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/ui_text.h"

namespace q8 {

// One item of a dialog's choice list in the three languages of the tool.
struct LocalizedName {
  std::string_view en;
  std::string_view chs;
  std::string_view cht;
};

constexpr std::string_view InLanguage(const LocalizedName& name, UiLanguage language) {
  switch (language) {
    case UiLanguage::CHS:
      return name.chs;
    case UiLanguage::CHT:
      return name.cht;
    default:
      return name.en;
  }
}

// The items of a list in `language`, in list order.
inline std::vector<std::string> NamesIn(std::span<const LocalizedName> list, UiLanguage language) {
  std::vector<std::string> names;
  names.reserve(list.size());
  for (const LocalizedName& name : list) {
    names.emplace_back(InLanguage(name, language));
  }
  return names;
}

// The multimedia functions, in list order; item k sends entry k of the MediaUsageTable.
inline constexpr std::array<LocalizedName, 7> MediaFunctionList{{
    {"Next", "下一首", "下一首"},
    {"Previous", "上一首", "上一首"},
    {"Stop", "停止", "停止"},
    {"Play/Pause", "播放/暂停", "播放/暫停"},
    {"Mute", "静音", "靜音"},
    {"Vol+", "音量+", "音量+"},
    {"Vol-", "音量-", "音量-"},
}};

// The launch functions, in list order; item k sends entry 7 + k of the MediaUsageTable.
inline constexpr std::array<LocalizedName, 9> LaunchFunctionList{{
    {"Multimedia Player", "打开多媒体播放器", "打開多媒體播放器"},
    {"Mail", "邮件", "郵件"},
    {"Calculator", "计算器", "計算器"},
    {"My Computer", "我的电脑", "我的電腦"},
    {"Browser-Search", "浏览器-搜索", "瀏覽器-搜索"},
    {"Browser-Home", "浏览器-主页", "瀏覽器-主頁"},
    {"Browser-Back", "浏览器-后退", "瀏覽器-後退"},
    {"Browser-Forward", "浏览器-前进", "瀏覽器-前進"},
    {"Browser-Refresh", "浏览器-刷新", "瀏覽器-刷新"},
}};

// The shortcut presets, in list order; item k sends entry k of the ShortcutTable.
inline constexpr std::array<LocalizedName, 8> ShortcutPresetList{{
    {"Copy", "复制", "複製"},
    {"Cut", "剪切", "剪切"},
    {"Paste", "粘贴", "粘貼"},
    {"Select all", "全选", "全選"},
    {"Open", "打开", "打開"},
    {"New", "新建", "新建"},
    {"Save", "保存", "保存"},
    {"Undo", "撤销", "撤銷"},
}};

}  // namespace q8
