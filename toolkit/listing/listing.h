// Recursive listing of a directory tree to a stream, filtered by extension.
//
// Paths are written with backslash separators: every line is the directory
// path, one backslash, the file name and a line end ("dir\name\n"). A path
// given with backslashes is opened with slashes; the lines keep the
// backslashes. Entries come in the order the directory yields them, a
// subdirectory's lines where the subdirectory stands. Directories are never
// written; symbolic links are followed. Any failure writes a message, waits
// for a key and ends the process with status 1.
#ifndef TAVORIN_TOOLKIT_LISTING_LISTING_H_
#define TAVORIN_TOOLKIT_LISTING_LISTING_H_

#include <stdio.h>

// Lists `directory` to `out` (into its subdirectories when `recursive` is
// not 0), keeping only the files whose extension is in `extensions`:
// extensions separated by ":", each optionally written with a leading "*",
// ".", or "*." (as in "*.txt:*.doc"). An empty list, or a null pointer,
// keeps every file. A list longer than 254 characters is refused with a
// message (pause, status 1) before anything is listed.
void listing_doss(const char* directory, FILE* out, int recursive, const char* extensions);

// The walker behind listing_doss. `table` holds `count` extensions without
// their dot, compared byte for byte with the text after a name's last ".";
// a count of 0 (or less) keeps every file. `out` is written to but neither
// flushed nor closed.
void print_doss(const char* directory, FILE* out, int recursive, const char (*table)[255],
                int count);

#endif  // TAVORIN_TOOLKIT_LISTING_LISTING_H_
