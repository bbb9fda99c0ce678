// Runs the built qstr tool through the shell with a command line, standard
// input and extra environment settings, and checks what it wrote.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace qstr::test {

struct QstrResult {
  int status = -1;
  std::string out;
  std::string err;
};

inline std::string readWhole(const std::string &path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// `arguments` go to the shell as written; `environment` overrides the defaults.
inline QstrResult runQstr(const std::string &arguments, const std::string &input = "",
                          const std::string &environment = "") {
  char pattern[] = "/tmp/qstr-cli-XXXXXX";
  const std::string dir = mkdtemp(pattern);
  std::ofstream(dir + "/in", std::ios::binary) << input;
  std::string command = "env QSTR14_REGISTRY=:memory: LANG=en_US.UTF-8 LC_ALL= LC_CTYPE= QSTR14_LOCALE= ";
  command += environment + " '" QSTR_BINARY "' " + arguments;
  command += " < " + dir + "/in > " + dir + "/out 2> " + dir + "/err";
  QstrResult result;
  const int raw = std::system(command.c_str());
  result.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  result.out = readWhole(dir + "/out");
  result.err = readWhole(dir + "/err");
  std::system(("rm -rf " + dir).c_str());
  return result;
}

inline bool contains(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

inline std::string describe(const std::string &arguments, const QstrResult &result) {
  return "qstr " + arguments + "\nout: " + result.out + "\nerr: " + result.err;
}

// A run and all it must write.
struct Run {
  std::string args, input;
  int status;
  std::string out, err, environment = "";
};

inline void expectRun(const Run &run) {
  const auto r = runQstr(run.args, run.input, run.environment);
  SCOPED_TRACE(describe(run.args + " under " + run.environment, r));
  EXPECT_EQ(r.status, run.status);
  EXPECT_EQ(r.out, run.out);
  EXPECT_EQ(r.err, run.err);
}

}  // namespace qstr::test
