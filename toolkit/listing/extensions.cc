// The extension filter: turning the caller's list into a table, matching a
// name against it, and the listing's entry point.
#include <stdlib.h>
#include <string.h>

#include "toolkit/console/console.h"
#include "toolkit/listing/listing.h"
#include "toolkit/listing/listing_internal.h"

namespace tavorin {

/* The list is cut at each ":" in turn; every piece loses one leading "*",
   then one leading ".". A list of at most 254 characters has at most 254
   ":", so the pieces always fit the 255 rows, and each piece fits its row.
   "txt:" gives "txt" and an empty row; the empty row keeps names ending in
   ".". */
int extension_table(const char* list, char (*table)[255]) {
  if (strlen(list) > kExtensionListMax) return -1;
  char rest[kExtensionListMax + 1];
  strcpy(rest, list);
  int count = 0;
  if (rest[0] == '\0') return 0;
  for (;;) {
    char* entry = table[count];
    strcpy(entry, rest);
    bool last = strchr(rest, ':') == nullptr;
    if (!last) {
      entry[index_ch_first(rest, ":")] = '\0';
      Efface_char(rest, ":");
    }
    if (entry[0] == '*') Efface_char(entry, "*");
    if (entry[0] == '.') Efface_char(entry, ".");
    ++count;
    if (last || count == kExtensionTableRows) return count;
  }
}

/* The extension is compared where it stands in the name: a 255-character
   name such as ".xxx...x" has a 254-character extension, which a copy into
   a line buffer with its dot would not hold. */
bool extension_kept(const char* name, const char (*table)[255], int count) {
  if (count <= 0) return true;
  const char* dot = strrchr(name, '.');
  if (dot == nullptr) return false;
  for (int i = 0; i < count; ++i) {
    if (strcmp(dot + 1, table[i]) == 0) return true;
  }
  return false;
}

}  // namespace tavorin

/* The table lives here for the whole walk; print_doss only reads it. A list
   too long for a line buffer is refused whole rather than cut: a cut list
   would filter on extensions the caller never asked for. */
void listing_doss(const char* directory, FILE* out, int recursive, const char* extensions) {
  static_assert(tavorin::kExtensionTableRows == 255, "one row per possible extension");
  char table[tavorin::kExtensionTableRows][255];
  int count = tavorin::extension_table(extensions != nullptr ? extensions : "", table);
  if (count < 0) {
    putsacc("\n!!! La liste d'extensions est trop longue (plus de 254 caract\xe8res)");
    Pause();
    exit(1);
  }
  print_doss(directory, out, recursive, table, count);
}
