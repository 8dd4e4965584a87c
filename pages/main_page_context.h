#pragma once

#include "model/app_state.h"
#include "model/ui_text.h"
#include "pages/key_function_dialogs.h"
#include "settings/message_sink.h"
#include "ui/control_host.h"
#include "ui/main_window_controls.h"
#include "ui/skin_painter.h"
#include "ui/skinned_window.h"
#include "ui/text_port.h"

namespace q8 {

// What the settings page works with. Everything here belongs to the main window or the process and
// outlives the page; the composition root fills it from the main window.
struct MainPageContext {
  // The settings the page edits in place, the captions of the key boxes, the sensor, the skin.
  AppState& state;
  // The main window's texts in the language of this run.
  const UiTextTable& texts;

  // The window's picture: every change of the page's look is one drawing into it.
  SkinnedWindow& window;
  const SkinPainter& painter;
  // Draws the page title, the one text in the title font.
  TextPainter& text;
  // The window's owner-drawn controls (their hover flags decide how a redrawn control looks) and
  // the captions they draw: the page keeps the key rows' captions in step with the active
  // configuration.
  MainWindowControls& controls;
  MainWindowCaptions& captions;

  // Native lists and statics, the colour chooser, message boxes.
  ControlHost& nativeControls;
  MessageSink& messages;
  // The dialogs that collect a key function's parameter.
  KeyFunctionDialogs& dialogs;
};

}  // namespace q8
