// The stand-in for the Windows command interpreter: just enough of it to
// answer the shell helpers' command lines on Linux. What it understands is
// described in command_interpreter_internal.h.
#include <pwd.h>
#include <stdio.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "toolkit/windows/command_interpreter_internal.h"

namespace tavorin {
namespace {

char lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Command and variable names are not case-sensitive.
bool same_word(const std::string& text, const char* word) {
  size_t i = 0;
  for (; i < text.size() && word[i] != '\0'; ++i) {
    if (lower(text[i]) != word[i]) return false;
  }
  return i == text.size() && word[i] == '\0';
}

std::string trim(const std::string& text) {
  size_t begin = text.find_first_not_of(" \t");
  if (begin == std::string::npos) return std::string();
  size_t end = text.find_last_not_of(" \t");
  return text.substr(begin, end - begin + 1);
}

std::string login_name() {
  const struct passwd* user = getpwuid(geteuid());
  if (user != nullptr && user->pw_name != nullptr && user->pw_name[0] != '\0') {
    return user->pw_name;
  }
  return std::to_string(geteuid());
}

bool variable(const std::string& name, std::string* value) {
  if (same_word(name, "systemroot")) {
    *value = "C:\\Windows";
  } else if (same_word(name, "userprofile")) {
    *value = "C:\\Users\\" + login_name();
  } else {
    return false;
  }
  return true;
}

// %name% is replaced by its value; an unknown one stays as written, and its
// closing "%" may open the next one.
std::string expand(const char* line) {
  std::string out;
  for (const char* p = line; *p != '\0';) {
    if (*p == '%') {
      const char* close = p + 1;
      while (*close != '\0' && *close != '%') ++close;
      std::string value;
      if (*close == '%' && variable(std::string(p + 1, close), &value)) {
        out += value;
        p = close + 1;
        continue;
      }
    }
    out += *p++;
  }
  return out;
}

// The folder that the interpreter starts in: the working directory seen
// from drive C:.
std::string starting_folder() {
  std::vector<char> cwd(4096);
  if (getcwd(cwd.data(), cwd.size()) == nullptr) return "C:\\";
  std::string folder = "C:";
  for (const char* p = cwd.data(); *p != '\0'; ++p) folder += *p == '/' ? '\\' : *p;
  return folder;
}

std::string change_folder(const std::string& current, std::string folder) {
  while (folder.size() > 3 && folder.back() == '\\') folder.pop_back();
  if (folder.size() >= 2 && folder[1] == ':') return folder;
  if (folder[0] == '\\') return current.substr(0, 2) + folder;
  return current + (current.back() == '\\' ? "" : "\\") + folder;
}

bool all_digits(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

// Runs one command with its redirection; `folder` is the current folder.
int run_one(const std::string& segment, std::string* folder) {
  size_t arrow = segment.find('>');
  std::string command = trim(segment.substr(0, arrow));
  FILE* report = nullptr;
  if (arrow != std::string::npos) {
    std::string target = trim(segment.substr(arrow + 1));
    if (target.empty()) return 1;
    report = fopen(target.c_str(), "w");
    if (report == nullptr) return 1;
  }

  size_t space = command.find_first_of(" \t");
  std::string word = command.substr(0, space);
  std::string argument = space == std::string::npos ? std::string() : trim(command.substr(space));
  if (argument.size() >= 2 && argument.front() == '"' && argument.back() == '"') {
    argument = argument.substr(1, argument.size() - 2);
  }

  int status = 0;
  std::string text;
  if (same_word(word, "cd")) {
    if (!argument.empty()) *folder = change_folder(*folder, argument);
    text = *folder;
  } else if (same_word(word, "chcp") && all_digits(argument)) {
    text = "Page de codes active : " + argument;
  } else {
    status = 1;
  }
  if (report != nullptr) {
    if (status == 0) fprintf(report, "%s\n", text.c_str());
    if (fclose(report) != 0) status = 1;
  }
  return status;
}

}  // namespace

int command_interpreter(const char* command_line) {
  try {
    std::string line = expand(command_line);
    std::string folder = starting_folder();
    size_t start = 0;
    for (;;) {
      size_t join = line.find("&&", start);
      if (run_one(line.substr(start, join - start), &folder) != 0) return 1;
      if (join == std::string::npos) return 0;
      start = join + 2;
    }
  } catch (...) {
    // Out of memory: the command did not run.
    return 1;
  }
}

}  // namespace tavorin
