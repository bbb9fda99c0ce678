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

// A folder of its own for each call's files, removed afterwards.
inline QstrResult runQstr(const std::vector<std::string> &args, const std::string &input = "",
                          const std::string &environment = "QSTR14_REGISTRY=:memory: LANG=en_US.UTF-8") {
  char pattern[] = "/tmp/qstr-cli-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  {
    std::ofstream(dir + "/in", std::ios::binary) << input;
  }
  std::string command = "env " + environment + " " + shellQuote(QSTR_BINARY);
  for (const std::string &arg : args) command += " " + shellQuote(arg);
  command += " < " + dir + "/in > " + dir + "/out 2> " + dir + "/err";
  QstrResult result;
  const int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = readWhole(dir + "/out");
  result.err = readWhole(dir + "/err");
  std::system(("rm -rf " + dir).c_str());
  return result;
}

}  // namespace qstr::test
