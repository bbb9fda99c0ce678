// Runs the built qstr tool with arguments and standard input, capturing its
// exit status, standard output and standard error.
#pragma once

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace qstr::test {

struct QstrResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string shellQuote(const std::string &text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

inline std::string readWhole(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

inline const char *kDefaultEnvironment = "QSTR14_REGISTRY=:memory: LANG=en_US.UTF-8 LC_ALL= QSTR14_LOCALE=";

// Runs qstr with `arguments`, already quoted for the shell. A folder of its
// own holds each call's files and is removed afterwards.
inline QstrResult runQstrCommandLine(const std::string &arguments, const std::string &input = "",
                                     const std::string &environment = kDefaultEnvironment) {
  char pattern[] = "/tmp/qstr-cli-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  {
    std::ofstream(dir + "/in", std::ios::binary) << input;
  }
  std::string command = "env " + environment + " " + shellQuote(QSTR_BINARY) + " " + arguments;
  command += " < " + dir + "/in > " + dir + "/out 2> " + dir + "/err";
  QstrResult result;
  const int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = readWhole(dir + "/out");
  result.err = readWhole(dir + "/err");
  std::system(("rm -rf " + dir).c_str());
  return result;
}

inline QstrResult runQstr(const std::vector<std::string> &args, const std::string &input = "",
                          const std::string &environment = kDefaultEnvironment) {
  std::string arguments;
  for (const std::string &arg : args) arguments += (arguments.empty() ? "" : " ") + shellQuote(arg);
  return runQstrCommandLine(arguments, input, environment);
}

inline bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

// An error report is exactly one line.
inline bool oneLine(const std::string &text) { return !text.empty() && text.find('\n') == text.size() - 1; }

// What a failed check names: the command line and what the run wrote.
inline std::string describe(const std::string &arguments, const QstrResult &result) {
  return "qstr " + arguments + "\nout: " + result.out + "\nerr: " + result.err;
}
inline std::string describe(const std::vector<std::string> &args, const QstrResult &result) {
  std::string arguments;
  for (const std::string &arg : args) arguments += (arguments.empty() ? "" : " ") + arg;
  return describe(arguments, result);
}

}  // namespace qstr::test
