// The extension filter of the listing, apart from the walk, so that tests
// and the fuzz target can drive it without a directory tree.
#ifndef TAVORIN_TOOLKIT_LISTING_LISTING_INTERNAL_H_
#define TAVORIN_TOOLKIT_LISTING_LISTING_INTERNAL_H_

namespace tavorin {

// Longest extension list accepted: one line buffer. Such a list holds at
// most 254 ":" and so at most 255 extensions, one per row of the table.
enum { kExtensionListMax = 254, kExtensionTableRows = 255 };

// Fills `table` (255 rows of 255 bytes) from an extension list and returns
// the number of rows in use, or -1 when the list is longer than
// kExtensionListMax characters (the table is then left untouched).
int extension_table(const char* list, char (*table)[255]);

// Whether an entry named `name` is kept: always with a count of 0 or less;
// otherwise only when the name holds a "." and the text after its last "."
// equals one of the first `count` rows.
bool extension_kept(const char* name, const char (*table)[255], int count);

}  // namespace tavorin

#endif  // TAVORIN_TOOLKIT_LISTING_LISTING_INTERNAL_H_
