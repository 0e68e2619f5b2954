#include "cli/Commands.h"
#include "cli/FileArguments.h"

#include <iostream>
#include <memory>
#include <sstream>

namespace vpr::cli {

namespace {

struct CompletionOptions {
  std::string shell;
  std::string output = kStandardStream;
};

// The long and short names of a subcommand's options ("--row", "-o", "--output").
std::vector<std::string> optionNames(const CLI::App& command) {
  std::vector<std::string> names;
  for (const CLI::Option* option : command.get_options()) {
    for (const std::string& name : option->get_lnames())
      names.push_back("--" + name);
    for (const std::string& name : option->get_snames())
      names.push_back("-" + name);
  }
  return names;
}

std::string joined(const std::vector<std::string>& words) {
  std::string text;
  for (const std::string& word : words)
    text += (text.empty() ? "" : " ") + word;
  return text;
}

// A description zsh shows as is: no colons, brackets or single quotes.
std::string zshText(std::string text) {
  for (char& c : text) {
    if (c == ':' || c == '[' || c == ']' || c == '\'') c = c == ':' ? '-' : ' ';
  }
  return text;
}

std::string bashScript(const CLI::App& app, const std::vector<const CLI::App*>& commands) {
  std::ostringstream out;
  out << "# bash completion for vpr40t-cli (written by vpr40t-cli completion bash)\n"
      << "_vpr40t_cli() {\n"
      << "  local cur prev words cword\n"
      << "  _init_completion || return\n"
      << "  local command= i\n"
      << "  for ((i = 1; i < cword; i++)); do\n"
      << "    case \"${words[i]}\" in -*) ;; *) command=${words[i]}; break ;; esac\n"
      << "  done\n"
      << "  local options\n"
      << "  case $command in\n";
  std::vector<std::string> names;
  for (const CLI::App* command : commands) {
    names.push_back(command->get_name());
    out << "    " << command->get_name() << ") options=\"" << joined(optionNames(*command)) << "\" ;;\n";
  }
  out << "    *) COMPREPLY=($(compgen -W \"" << joined(names) << " " << joined(optionNames(app))
      << "\" -- \"$cur\")); return ;;\n"
      << "  esac\n"
      << "  if [[ $cur == -* ]]; then\n"
      << "    COMPREPLY=($(compgen -W \"$options\" -- \"$cur\"))\n"
      << "  else\n"
      << "    _filedir\n"
      << "  fi\n"
      << "}\n"
      << "complete -F _vpr40t_cli vpr40t-cli\n";
  return out.str();
}

std::string zshScript(const std::vector<const CLI::App*>& commands) {
  std::ostringstream out;
  out << "#compdef vpr40t-cli\n"
      << "# zsh completion for vpr40t-cli (written by vpr40t-cli completion zsh)\n"
      << "_vpr40t-cli() {\n"
      << "  local -a commands\n"
      << "  commands=(\n";
  for (const CLI::App* command : commands)
    out << "    '" << command->get_name() << ':' << zshText(command->get_description()) << "'\n";
  out << "  )\n"
      << "  if (( CURRENT == 2 )); then\n"
      << "    _describe 'command' commands\n"
      << "    return\n"
      << "  fi\n"
      << "  case $words[2] in\n";
  for (const CLI::App* command : commands) {
    out << "    " << command->get_name() << ")\n      _arguments";
    for (const CLI::Option* option : command->get_options()) {
      for (const std::string& name : option->get_lnames())
        out << " '--" << name << '[' << zshText(option->get_description()) << "]'";
      for (const std::string& name : option->get_snames())
        out << " '-" << name << '[' << zshText(option->get_description()) << "]'";
    }
    out << " '*:file:_files' ;;\n";
  }
  out << "  esac\n"
      << "}\n"
      << "_vpr40t-cli \"$@\"\n";
  return out.str();
}

} // namespace

Command addCompletionCommand(CLI::App& app) {
  auto options = std::make_shared<CompletionOptions>();
  CLI::App* sub = app.add_subcommand("completion", "Write the bash or zsh completion script of this tool");
  sub->add_option("shell", options->shell, "bash or zsh")->required()->check(CLI::IsMember({"bash", "zsh"}));
  sub->add_option("-o,--output", options->output, "The script file to write (- or none: standard output)");
  return {sub, [options, &app](TerminalUserInterface& ui) {
            std::vector<const CLI::App*> commands;
            for (const CLI::App* command : app.get_subcommands([](const CLI::App*) { return true; }))
              commands.push_back(command);
            const std::string script =
                options->shell == "bash" ? bashScript(app, commands) : zshScript(commands);
            return writeTextArgument(options->output, script, ui) ? kExitDone : kExitFailed;
          }};
}

} // namespace vpr::cli
