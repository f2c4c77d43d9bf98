#include <unistd.h>

#include <string>

#include "gtest/gtest.h"
#include "testing/pty_session.h"
#include "toolkit/editor/test_support.h"

namespace {

using tavorin::editor::testing::OpenSlave;
using tavorin::editor::testing::WaitForRawMode;
using tavorin::testing::PtySession;

TEST(ProfilesExample, ShowsTheLineOfEachProfileInHex) {
  auto session = PtySession::Exec({TAVORIN_PROFILES_EXAMPLE});
  ASSERT_NE(session, nullptr);
  int slave = OpenSlave(session->master());
  ASSERT_GE(slave, 0);
  size_t from = 0;
  // Waits for `prompt`, then types `keys` once the program waits for a key.
  auto answer = [&](const std::string& prompt, const std::string& keys) {
    ASSERT_TRUE(session->WaitFor(prompt, 10000, from)) << session->output();
    from = session->output().find(prompt, from) + prompt.size();
    ASSERT_TRUE(WaitForRawMode(slave));
    ASSERT_TRUE(session->Send(keys));
  };
  answer("Profil (1 \xe0 6, Entr\xe9" "e seule pour finir) : ", "4\r");
  answer("Ligne : ", "(1,5)*2\r");
  answer("Profil", "9\r");
  answer("Ligne : ", "1q\xc3\xa9\r");
  answer("Profil", "\r");
  EXPECT_EQ(session->Wait(), 0);
  const std::string& out = session->output();
  EXPECT_NE(out.find("Lu : [(1.5)*2]\nHexa : 28 31 2E 35 29 2A 32\n"), std::string::npos) << out;
  EXPECT_NE(out.find("(le profil 9 agit comme le profil 1)\n"), std::string::npos) << out;
  EXPECT_NE(out.find("Lu : [1q2]\nHexa : 31 71 32\n"), std::string::npos) << out;
  close(slave);
}

}  // namespace
