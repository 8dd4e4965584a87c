#pragma once

#include <array>
#include <string_view>

#include "model/ui_text.h"

namespace q8 {

// The maker's web site, shown as the link text and opened when the link is clicked.
inline constexpr std::string_view kWebSiteAddress = "https://www.tarnix.example/";

struct UiTextEntry {
  UiTextKey key;
  std::string_view en;
  std::string_view chs;
  std::string_view cht;
};

// Every text of the main window, the tray and the device messages, in the three languages. The
// texts are exact, trailing blanks and spellings included.
inline constexpr std::array<UiTextEntry, kUiTextCount> kUiTextEntries{{
    {UiTextKey::BasicSettings, "Basic Settings", "基本设置", "基本設置"},
    {UiTextKey::KeySetting, "Key Setting", "按键设置", "按鍵設置"},
    {UiTextKey::ReportRateSetting, "Report Rate Setting", "报告率设置", "報告率設置"},
    {UiTextKey::DpiSetting, "DPI Setting", "DPI设置", "DPI設置"},
    {UiTextKey::DpiEffect, "DPI Effect", "DPI显示特效", "DPI顯示特效"},
    {UiTextKey::Mode, "Mode", "模式", "模式"},
    {UiTextKey::Parameter, "Parameter", "参数", "參數"},
    {UiTextKey::Effect, "Effect", "效果", "效果"},
    {UiTextKey::Ok, "OK", "确定", "確定"},
    {UiTextKey::Apply, "Apply", "应用", "應用"},
    {UiTextKey::Cancel, "Cancel", "取消", "取消"},
    {UiTextKey::RestoreKeys, "Default", "按键恢复", "按鍵恢復"},
    // The Simplified Chinese window shows no link text.
    {UiTextKey::WebLink, kWebSiteAddress, "", kWebSiteAddress},

    {UiTextKey::FnLeftClick, "Left Click", "左键", "左鍵"},
    {UiTextKey::FnRightClick, "Right Click", "右键", "右鍵"},
    {UiTextKey::FnMidClick, "Mid Click", "中键", "中鍵"},
    {UiTextKey::FnForward, "Forward", "前进方向键", "前進方向鍵"},
    {UiTextKey::FnBackward, "Backward", "后退方向键", "後退方向鍵"},
    {UiTextKey::FnDpiSwitch, "DPI Switch", "DPI切换", "DPI切換"},
    {UiTextKey::FnShift, "Shift", "Shift", "Shift"},
    {UiTextKey::FnWindows, "Windows", "Windows", "Windows"},
    {UiTextKey::FnMultimedia, "Multimedia", "多媒体", "多媒體"},
    {UiTextKey::FnHotKey, "HotKey", "快捷键", "快速鍵"},
    {UiTextKey::FnFireKey, "Fire Key", "火力键", "火力鍵"},
    {UiTextKey::FnSingleKey, "Single Key", "单键", "單鍵"},
    {UiTextKey::FnSnipeKey, "Snipe Key", "狙击", "狙擊"},
    {UiTextKey::FnKeyOff, "Key Off", "按键关闭", "按鍵關閉"},
    {UiTextKey::MsgLeftKeyRequired, "Left key must be selected!", "左键功能必须选择！",
     "左鍵功能必須選擇！"},

    {UiTextKey::DpiEffectOff, "Off", "关闭模式", "關閉模式"},
    {UiTextKey::DpiEffectStandard, "Standard", "标准模式", "標準模式"},
    {UiTextKey::DpiEffectRespiration, "Respiration", "呼吸模式", "呼吸模式"},
    {UiTextKey::DpiEffectNeon, "Neon", "霓虹模式", "霓虹模式"},
    {UiTextKey::RgbNonDisplay, "Non-Disolay", "关闭", "關閉"},
    {UiTextKey::RgbEffect, "RGB Effect", "RGB效果", "RGB效果"},
    {UiTextKey::RgbFlash, "RGB Flash", "RGB闪烁", "RGB閃爍"},
    {UiTextKey::RgbFixedOn, "RGB Fixed On", "RGB常亮", "RGB常亮"},

    {UiTextKey::NotifyRate1000, "Switch report rate into 1000HZ", "报告率切换到1000HZ",
     "報告率切換到1000HZ"},
    {UiTextKey::NotifyRate500, "Switch report rate into 500HZ", "报告率切换到500HZ",
     "報告率切換到500HZ"},
    {UiTextKey::NotifyRate250, "Switch report rate into 250HZ", "报告率切换到250HZ",
     "報告率切換到250HZ"},
    {UiTextKey::NotifyRate125, "Switch report rate into 125HZ", "报告率切换到125HZ",
     "報告率切換到125HZ"},
    // The English stage texts end in a blank; the Chinese ones do not.
    {UiTextKey::NotifyDpiStage1, "Switch DPI into the first stage ", "DPI切换到第一段",
     "DPI切換到第一段"},
    {UiTextKey::NotifyDpiStage2, "Switch DPI into the second stage ", "DPI切换到第二段",
     "DPI切換到第二段"},
    {UiTextKey::NotifyDpiStage3, "Switch DPI into the third stage ", "DPI切换到第三段",
     "DPI切換到第三段"},
    {UiTextKey::NotifyDpiStage4, "Switch DPI into the fourth stage ", "DPI切换到第四段",
     "DPI切換到第四段"},
    {UiTextKey::NotifyDpiStage5, "Switch DPI into the fifth stage ", "DPI切换到第五段",
     "DPI切換到第五段"},
    {UiTextKey::NotifyDpiStage6, "Switch DPI into the sixth stage ", "DPI切换到第六段",
     "DPI切換到第六段"},
    {UiTextKey::NotifyDpiStage7, "Switch DPI into the seventh stage ", "DPI切换到第七段",
     "DPI切換到第七段"},
    {UiTextKey::NotifyDpiStage8, "Switch DPI into the eighth stage ", "DPI切换到第八段",
     "DPI切換到第八段"},
    {UiTextKey::NotifyKeyGroup1, "Switch to key matrix 1", "切换到按键组1", "切換到按鍵群組1"},
    {UiTextKey::NotifyKeyGroup2, "Switch to key matrix 2", "切换到按键组2", "切換到按鍵群組2"},
    {UiTextKey::NotifyMacro, "Switch to macro key", "切换到宏", "切換到巨集"},

    {UiTextKey::MenuExit, "Exit", "退出", "退出"},
    {UiTextKey::MsgMouseNotDetected, "The system did not detect the gaming mouse!",
     "系统没有检测到游戏鼠标！", "系統沒有檢測到遊戲滑鼠！"},
    {UiTextKey::MsgMouseDetected, "The system detect the gaming mouse.", "系统检测到游戏鼠标。",
     "系統檢測到遊戲滑鼠。"},

    {UiTextKey::StrIniSection, "Setting-EN", "Setting-CHS", "Setting-CHT"},

    {UiTextKey::MenuProfiles, "Profiles", "配置文件", "設定檔"},
    {UiTextKey::NotifyProfile, "Switch to profile ", "切换到配置文件：", "切換到設定檔："},
    {UiTextKey::NotifyProfileNotLoaded, "Profile not loaded: ", "未加载配置文件：",
     "未載入設定檔："},
    {UiTextKey::NotifyProfilesHalted,
     "The mouse was not read whole: profiles switch again after a good read",
     "未能完整读取鼠标：完整读取后才会自动切换配置文件",
     "未能完整讀取滑鼠：完整讀取後才會自動切換設定檔"},
    {UiTextKey::MsgMouseNotReadWhole,
     "The mouse was not read whole, so nothing was written to it. Plug the mouse in again.",
     "未能完整读取鼠标，因此没有写入任何设置。请重新插入鼠标。",
     "未能完整讀取滑鼠，因此沒有寫入任何設定。請重新插入滑鼠。"},
    {UiTextKey::NotifyProfileFileChanged,
     "Applied, but not saved into the profile: its file was changed elsewhere: ",
     "已应用，但未保存到配置文件：其文件已在别处被更改：",
     "已套用，但未儲存到設定檔：其檔案已在別處被變更："},
    {UiTextKey::MenuStartAtLogIn, "Start at log-in", "登录时启动", "登入時啟動"},

    {UiTextKey::MenuManageProfiles, "Manage profiles…", "管理配置文件…", "管理設定檔…"},
    {UiTextKey::TrayTipProfile, "Profile: ", "配置文件：", "設定檔："},
    {UiTextKey::ProfilesRules, "Rules: a program and its profile", "规则：程序与配置文件",
     "規則：程式與設定檔"},
    {UiTextKey::ProfilesName, "Name:", "名称：", "名稱："},
    {UiTextKey::ProfilesSaveAs, "Save current as", "保存当前设置", "儲存目前設定"},
    {UiTextKey::ProfilesRename, "Rename", "重命名", "重新命名"},
    {UiTextKey::ProfilesDelete, "Delete", "删除", "刪除"},
    {UiTextKey::ProfilesImport, "Import…", "导入…", "匯入…"},
    {UiTextKey::ProfilesExport, "Export…", "导出…", "匯出…"},
    {UiTextKey::ProfilesProgram, "Program:", "程序：", "程式："},
    {UiTextKey::ProfilesBrowse, "Browse…", "浏览…", "瀏覽…"},
    {UiTextKey::ProfilesSetRule, "Set rule", "设置规则", "設定規則"},
    {UiTextKey::ProfilesRemoveRule, "Remove rule", "删除规则", "刪除規則"},
    {UiTextKey::ProfilesDefault, "Other programs:", "其他程序：", "其他程式："},
    {UiTextKey::ProfilesNone, "(none)", "（无）", "（無）"},
    {UiTextKey::ProfilesActive, "Active: ", "当前：", "目前："},
    {UiTextKey::ProfilesActiveMark, " (active)", "（当前）", "（目前）"},
    {UiTextKey::ProfilesClose, "Close", "关闭", "關閉"},
    {UiTextKey::ProfilesAskReplace, "Replace the profile \"{}\"?", "替换配置文件“{}”？",
     "取代設定檔「{}」？"},
    {UiTextKey::ProfilesAskDelete, "Delete the profile \"{}\" and the rules that use it?",
     "删除配置文件“{}”及使用它的规则？", "刪除設定檔「{}」及使用它的規則？"},
    {UiTextKey::ProfilesChooseProfile, "Choose a profile in the list first.",
     "请先在列表中选择配置文件。", "請先在清單中選擇設定檔。"},
    {UiTextKey::ProfilesChooseProgram, "Choose a running program or browse to one first.",
     "请先选择正在运行的程序或浏览程序。", "請先選擇正在執行的程式或瀏覽程式。"},
    {UiTextKey::ProfilesChooseRule, "Choose a rule in the list first.", "请先在列表中选择规则。",
     "請先在清單中選擇規則。"},
    {UiTextKey::ProfilesFileKind, "Tarnix Q8 profiles", "Tarnix Q8 配置文件", "Tarnix Q8 設定檔"},
    {UiTextKey::ProfilesProgramKind, "Programs", "程序", "程式"},
}};

// Entry i is the text of key i, so a key indexes the table directly.
constexpr bool EntriesFollowKeyOrder() {
  for (std::size_t i = 0; i < kUiTextEntries.size(); ++i) {
    if (static_cast<std::size_t>(kUiTextEntries[i].key) != i) {
      return false;
    }
  }
  return true;
}
static_assert(EntriesFollowKeyOrder(), "kUiTextEntries must list the keys in UiTextKey order");
static_assert(static_cast<std::size_t>(UiTextKey::ProfilesProgramKind) + 1 == kUiTextCount);

constexpr std::string_view TextIn(const UiTextEntry& entry, UiLanguage language) {
  switch (language) {
    case UiLanguage::CHS:
      return entry.chs;
    case UiLanguage::CHT:
      return entry.cht;
    case UiLanguage::EN:
      break;
  }
  return entry.en;
}

}  // namespace q8
