#include "cli/manual.h"

#include <string_view>
#include <vector>

#include "cli/command_table.h"
#include "q8_version.h"

namespace q8 {
namespace {

// The lines of a table text; the blanks that indent its continued lines dropped.
std::vector<std::string> Lines(std::string_view text) {
  std::vector<std::string> lines;
  std::size_t begin = 0;
  while (begin <= text.size()) {
    const std::size_t end = std::min(text.find('\n', begin), text.size());
    std::string_view line = text.substr(begin, end - begin);
    while (!line.empty() && line.front() == ' ') {
      line.remove_prefix(1);
    }
    lines.emplace_back(line);
    begin = end + 1;
  }
  return lines;
}

// Text as roff reads it literally: backslashes escaped, minus signs as minus signs, no line
// starting with a control character.
std::string Roff(std::string_view text) {
  std::string out;
  for (const char c : text) {
    if (c == '\\') {
      out += "\\e";
    } else if (c == '-') {
      out += "\\-";
    } else {
      out += c;
    }
  }
  return out;
}

std::string RoffLines(std::string_view text) {
  std::string out;
  for (const std::string& line : Lines(text)) {
    out += (line.starts_with('.') || line.starts_with('\'') ? "\\&" : "") + Roff(line) + "\n";
  }
  return out;
}

std::string OptionsSection(std::span<const OptionHelp> options) {
  std::string page = ".SH OPTIONS\n";
  for (const OptionHelp& option : options) {
    page += ".TP\n.B " + Roff(OptionSpelling(option)) + "\n" + RoffLines(option.description);
  }
  return page;
}

std::string Header(std::string_view name, std::string_view summary) {
  std::string upper(name);
  for (char& c : upper) {
    c = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
  }
  return ".TH " + Roff(upper) + " 1 \"\" \"" + Roff(name) + " " + std::string(kVersion) +
         "\" \"User Commands\"\n.SH NAME\n" + Roff(name) + " \\- " + Roff(summary) + "\n";
}

// Blank-separated words as the lines a shell function prints.
std::string Words(std::string_view words) {
  std::string out;
  for (const char c : words) {
    out += c == ' ' ? '\n' : c;
  }
  return out;
}

std::string AllCommandsAndOptions() {
  std::string out;
  for (const CommandHelp& command : kCommands) {
    out += std::string(command.name) + "\n";
  }
  for (const OptionHelp& option : kQ8ctlOptions) {
    out += std::string(option.name) + (option.argument.empty() ? "\n" : "=\n");
  }
  return out;
}

// The function bash and zsh share: the words that may follow the words given (the command line
// before the word being completed), one a line.
std::string CandidatesFunction() {
  std::string f =
      "_q8ctl_candidates() {\n"
      "  local q8ctl=$1 command= sub= prev= word\n"
      "  local -a config\n"
      "  local -i after=0\n"
      "  shift\n"
      "  for word in \"$@\"; do\n"
      "    if [ \"$prev\" = --config ]; then config=(--config \"$word\"); prev=; continue; fi\n"
      "    case $word in\n"
      "      --config=*) config=(\"$word\") ;;\n"
      "      -*) ;;\n"
      "      *) if [ -z \"$command\" ]; then command=$word\n"
      "         elif [ -z \"$sub\" ]; then sub=$word\n"
      "         else after=after+1; fi ;;\n"
      "    esac\n"
      "    prev=$word\n"
      "  done\n"
      "  if [ -z \"$command\" ]; then\n"
      "    printf '%s' '" +
      AllCommandsAndOptions() +
      "'\n"
      "    return\n"
      "  fi\n"
      "  case $command in\n";
  for (const CommandHelp& command : kCommands) {
    if (command.words.empty()) {
      continue;
    }
    f += "    " + std::string(command.name) + ")\n" +
         "      if [ -z \"$sub\" ]; then printf '%s' '" + Words(command.words) + "\n'\n";
    if (!command.profileNameAfter.empty()) {
      f += "      elif [ $after -eq 0 ]; then\n"
           "        case \" " +
           std::string(command.profileNameAfter) +
           " \" in *\" $sub \"*) \"$q8ctl\" profile \"${config[@]}\" list 2>/dev/null ;; esac\n";
    }
    f += "      fi ;;\n";
  }
  f += "  esac\n}\n";
  return f;
}

}  // namespace

std::string Q8ctlManPage() {
  std::string page = Header("q8ctl", "configure the Tarnix Q8 gaming mouse");
  page +=
      ".SH SYNOPSIS\n.B q8ctl\n"
      "[\\fB\\-\\-simulate\\fR[=\\fISTATE_FILE\\fR]] [\\fB\\-\\-trace\\fR=\\fIFILE\\fR] "
      "\\fICOMMAND\\fR [\\fIARGS\\fR]\n.br\n.B q8ctl \\-\\-version\n"
      ".SH DESCRIPTION\n"
      "Finds the Tarnix Q8 on the USB HID bus, reads its settings memory and writes settings to "
      "it: button functions in two key configurations, six DPI stages, the report rate and the "
      "lighting, kept in the tool's config.bin and in named profiles.\n"
      "Every command but notify first finds and reads the mouse.\n"
      ".SH COMMANDS\n";
  for (const CommandHelp& command : kCommands) {
    // The synopsis may take several lines, which a tagged paragraph cannot hold.
    page += ".PP\n";
    bool first = true;
    for (const std::string& line : Lines(command.synopsis)) {
      page += (first ? "" : ".br\n") + std::string(".B ") + Roff(line) + "\n";
      first = false;
    }
    page += ".RS\n" + RoffLines(command.description) + ".RE\n";
  }
  page += OptionsSection(kQ8ctlOptions);
  page +=
      ".SH EXIT STATUS\n"
      "0 on success; 1 when the mouse is not found, does not answer or stops answering midway, "
      "or the trace or the state file cannot be written; 2 for a usage error or bad input.\n"
      ".SH FILES\n"
      ".TP\n.I ~/.config/tarnix\\-q8/config.bin\n"
      "the settings, shared with tarnix\\-q8 (\\fB$XDG_CONFIG_HOME\\fR)\n"
      ".TP\n.I ~/.config/tarnix\\-q8/profiles/\n"
      "the profiles, and rules.ini, which names a profile per program\n"
      ".SH SEE ALSO\n.BR tarnix\\-q8 (1)\n";
  return page;
}

std::string TrayProgramManPage() {
  std::string page = Header("tarnix-q8", "tray program of the Tarnix Q8 gaming mouse");
  page +=
      ".SH SYNOPSIS\n.B tarnix\\-q8\n"
      "[\\fB\\-\\-simulate\\fR[=\\fISTATE_FILE\\fR]] [\\fB\\-\\-trace\\fR=\\fIFILE\\fR]\n"
      ".SH DESCRIPTION\n"
      "Keeps an icon in the desktop's notification area: a click opens the settings window of "
      "the mouse, the icon's menu loads a profile, turns the start at log\\-in on or off and ends "
      "the program. One copy runs per user.\n"
      ".PP\n"
      "The profile named in rules.ini for the program in front is loaded as programs come to the "
      "front: on X11, under Xwayland, on wlroots compositors (sway, Hyprland, labwc, Wayfire) and "
      "on KDE Plasma.\n";
  page += OptionsSection(kTrayProgramOptions);
  page +=
      ".SH FILES\n"
      ".TP\n.I ~/.config/tarnix\\-q8/\n"
      "config.bin, str.ini and the profiles (\\fB$XDG_CONFIG_HOME\\fR)\n"
      ".TP\n.I ~/.config/autostart/tarnix\\-q8.desktop\n"
      "there while the program starts at log\\-in\n"
      ".SH SEE ALSO\n.BR q8ctl (1)\n";
  return page;
}

std::string BashCompletion() {
  return "# bash completion for q8ctl, made from the table its --help prints.\n" +
         CandidatesFunction() +
         "_q8ctl() {\n"
         "  local cur=${COMP_WORDS[COMP_CWORD]}\n"
         "  if [ \"${COMP_WORDS[COMP_CWORD-1]}\" = --config ]; then\n"
         "    COMPREPLY=($(compgen -f -- \"$cur\"))\n"
         "    return\n"
         "  fi\n"
         "  local IFS=$'\\n'\n"
         "  COMPREPLY=($(compgen -W \"$(_q8ctl_candidates \"${COMP_WORDS[0]}\" "
         "\"${COMP_WORDS[@]:1:COMP_CWORD-1}\")\" -- \"$cur\"))\n"
         "}\n"
         "complete -F _q8ctl q8ctl\n";
}

std::string ZshCompletion() {
  return "#compdef q8ctl\n"
         "# zsh completion for q8ctl, made from the table its --help prints.\n" +
         CandidatesFunction() +
         "if [[ ${words[CURRENT-1]} == --config ]]; then\n"
         "  _files\n"
         "  return\n"
         "fi\n"
         "local -a candidates\n"
         "candidates=(${(f)\"$(_q8ctl_candidates ${words[1]} ${words[2,CURRENT-1]})\"})\n"
         "compadd -a candidates\n";
}

std::string FishCompletion() {
  std::string f =
      "# fish completion for q8ctl, made from the table its --help prints.\n"
      "function __q8ctl_candidates\n"
      "    set -l tokens (commandline -opc)\n"
      "    set -l command\n"
      "    set -l sub\n"
      "    set -l config\n"
      "    set -l prev\n"
      "    set -l after 0\n"
      "    for word in $tokens[2..]\n"
      "        if test \"$prev\" = --config\n"
      "            set config --config $word\n"
      "            set prev\n"
      "            continue\n"
      "        end\n"
      "        switch $word\n"
      "            case '--config=*'\n"
      "                set config $word\n"
      "            case '-*'\n"
      "            case '*'\n"
      "                if test -z \"$command\"\n"
      "                    set command $word\n"
      "                else if test -z \"$sub\"\n"
      "                    set sub $word\n"
      "                else\n"
      "                    set after (math $after + 1)\n"
      "                end\n"
      "        end\n"
      "        set prev $word\n"
      "    end\n"
      "    if test \"$prev\" = --config\n"
      "        __fish_complete_path (commandline -ct)\n"
      "        return\n"
      "    end\n"
      "    if test -z \"$command\"\n"
      "        printf '%s' '" +
      AllCommandsAndOptions() +
      "'\n"
      "        return\n"
      "    end\n"
      "    switch $command\n";
  for (const CommandHelp& command : kCommands) {
    if (command.words.empty()) {
      continue;
    }
    f += "        case " + std::string(command.name) + "\n" +
         "            if test -z \"$sub\"\n"
         "                printf '%s\\n' " +
         std::string(command.words) + "\n";
    if (!command.profileNameAfter.empty()) {
      f += "            else if test $after -eq 0; and contains -- $sub " +
           std::string(command.profileNameAfter) +
           "\n"
           "                $tokens[1] profile $config list 2>/dev/null\n";
    }
    f += "            end\n";
  }
  f += "    end\n"
       "end\n"
       "complete -c q8ctl -f -a '(__q8ctl_candidates)'\n";
  return f;
}

}  // namespace q8
