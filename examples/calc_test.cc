#include <unistd.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/editor/test_support.h"

namespace {

using tavorin::editor::testing::OpenSlave;
using tavorin::editor::testing::WaitForRawMode;
using tavorin::testing::PtySession;

TEST(CalcExample, ShowsEachValueUntilQ) {
  auto session = PtySession::Exec({TAVORIN_CALC_EXAMPLE});
  ASSERT_NE(session, nullptr);
  int slave = OpenSlave(session->master());
  ASSERT_GE(slave, 0);
  size_t from = 0;
  // Waits for `text` after what was already seen.
  auto see = [&](const std::string& text) {
    ASSERT_TRUE(session->WaitFor(text, 10000, from)) << session->output();
    from = session->output().find(text, from) + text.size();
  };
  // Types `keys` at the next prompt, once the editor waits for a key.
  auto type = [&](const std::string& keys) {
    see("> ");
    ASSERT_TRUE(WaitForRawMode(slave));
    ASSERT_TRUE(session->Send(keys));
  };
  type("(1+2)*3\r");
  see("(1+2)*3\n= 9\n");
  type("1,5/4\r");  // the comma key gives "."
  see("1.5/4\n= 0.375\n");
  type("1/0\r");
  see("1/0\nErreur: Division par 0 !!!\n...");
  ASSERT_TRUE(session->Send("\r"));  // the pause waits for a key
  type("\r");  // an empty line shows nothing
  see("\n> ");
  EXPECT_EQ(std::string::npos, session->output().find("= 1111111")) << session->output();
  ASSERT_TRUE(WaitForRawMode(slave));
  ASSERT_TRUE(session->Send("q\r"));
  EXPECT_EQ(0, session->Wait());
  close(slave);
}

}  // namespace
