/* The title banner: five lines, 80 columns, the text centred in the middle.

     </------...------\>
     /                  \
     |    banner text    |
     \                  /
     <\------...------/>
*/
#include <string.h>

#include "toolkit/console/console.h"

namespace {

void put_repeated(char c, int count) {
  for (int i = 0; i < count; ++i) putchar(c);
}

}  // namespace

/* The text sits at L = (79 - n) / 2 spaces from the left bar, with
   R = 77 - n - L spaces after it, or none when that is not positive: one
   column right of the centre for odd gaps. Texts of 77 to 79 characters push
   the closing bar outward. A longer text is written whole with no padding. */
void Titre(int argc, char** argv, const char* window_title, const char* banner_text,
           const char* colours) {
  startxterm(argc, argv, window_title, colours);

  char text[sizeof chfunc];
  size_t length = strnlen(banner_text, sizeof text - 1);
  memcpy(text, banner_text, length);
  text[length] = '\0';
  int n = static_cast<int>(length);
  int left = n <= 79 ? (79 - n) / 2 : 0;
  int right = 77 - n - left > 0 ? 77 - n - left : 0;

  fputs("</", stdout);
  put_repeated('-', 76);
  fputs("\\>\n/ ", stdout);
  put_repeated(' ', 76);
  fputs(" \\\n|", stdout);
  put_repeated(' ', left);
  printf("%s", acc(text, chfunc));
  put_repeated(' ', right);
  fputs(" |\n\\ ", stdout);
  put_repeated(' ', 76);
  fputs(" /\n<\\", stdout);
  put_repeated('-', 76);
  fputs("/>\n", stdout);
}
