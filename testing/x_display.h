// A private X server for tests that open windows.
//
// Each XDisplay is an Xvfb of its own on the first free display number (Xvfb
// picks it and reports it through -displayfd), so tests that open windows can
// run side by side. The server is stopped when the object goes, and also when
// the test process dies, so that no server outlives its test.
#ifndef TAVORIN_TESTING_X_DISPLAY_H_
#define TAVORIN_TESTING_X_DISPLAY_H_

#include <sys/types.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavorin::testing {

class XDisplay {
 public:
  // Starts Xvfb and waits until it accepts clients. On failure returns null
  // and says why in `error`.
  static std::unique_ptr<XDisplay> Start(std::string* error);
  ~XDisplay();
  XDisplay(const XDisplay&) = delete;
  XDisplay& operator=(const XDisplay&) = delete;

  // The value for DISPLAY, such as ":3".
  const std::string& name() const { return name_; }

 private:
  XDisplay(pid_t pid, std::string name) : pid_(pid), name_(std::move(name)) {}

  pid_t pid_;
  std::string name_;
};

// The full path of an executable found in PATH, or empty.
std::string FindInPath(const std::string& name);

// Runs `argv` (argv[0] searched in PATH) with DISPLAY set to `display` and
// returns what it wrote to standard output, or empty when it failed. For the
// X tools that inspect a display (xwininfo, xprop); bounded by `timeout_ms`.
std::string RunXTool(const std::string& display, const std::vector<std::string>& argv,
                     int timeout_ms = 5000);

}  // namespace tavorin::testing

#endif  // TAVORIN_TESTING_X_DISPLAY_H_
