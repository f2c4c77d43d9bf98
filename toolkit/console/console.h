// The console toolkit's chief header: console output through the accent hook,
// pauses, bounded and unbounded keyboard input, fatal errors, file opening,
// string helpers, and the title banner with its terminal relaunch.
//
// Texts are NUL-terminated byte strings; user-facing texts are Latin-1 (é is
// the byte 0xE9). A line buffer is 255 bytes: at most 254 characters and the
// NUL. Standard output is flushed before every read of standard input, so a
// program may buffer its output fully.
//
// Fatal failures write a message, wait for a key and end the process with
// status 1. None of these routines is reentrant: they share chfunc and ER.
#ifndef TAVORIN_TOOLKIT_CONSOLE_CONSOLE_H_
#define TAVORIN_TOOLKIT_CONSOLE_CONSOLE_H_

#include <stdio.h>

// Scratch buffer: destination of the accent hook and default target of the
// input routines. Holds at most 4095 characters; every use overwrites it.
extern char chfunc[4096];

// Every checked allocation stores its result here, then calls Erreur(1).
extern void* ER;

// --- The accent hook and console output -----------------------------------

// Copies `source` with its NUL into `destination` unchanged and returns
// `destination`, which must hold the text.
char* acc(const char* source, char* destination);
// The hook for text going from the user to the system; leaves it unchanged.
char* invers_acc(char* text);
// Writes `text` (cut to 254 characters) through the hook, with no line end.
void putsacc(const char* text);
// One character through the hook; returns it.
char accchar(char c);
// Passes `text` through the hook in place. A text of more than 4095
// characters does not fit chfunc and is left as it is.
void transacc(char* text);
// Replaces every backslash with a slash, in place.
void changeslash(char* text);

// --- Pauses, errors, input ---------------------------------------------------

// Writes "..." and reads one character (Pause) or two (DPause). At end of
// input they return without waiting.
void Pause();
void DPause();
// Returns at once when ER is not null; otherwise writes the message of
// `type` (1: memory, "malloc" on stderr; 2: keyboard, "gets"; other: none),
// calls DPause and ends the process with status 1.
void Erreur(int type);
// Discards characters of `stream` up to and including the next line end.
// Returns 0 when it stopped at a line end, -1 at end of input or on error.
int fpurge(FILE* stream);
// Reads one line of standard input into `buffer` (at most size - 1
// characters, the line end kept when it fits), then discards input up to and
// including the next line end. At end of input the buffer is left as it was.
char* getsfix(char* buffer, int size);
// Discards input up to the next line end, then reads one line of any length
// into a new heap text (the line end is not stored); the caller frees it.
char* getsdyn(char* unused);
// Opens the file (backslashes read as slashes) or, when that fails or the
// name is a directory, writes a message, pauses and ends with status 1.
FILE* ouvre_fichier(const char* name, const char* mode);
// Writes a small drawing with a signature, then pauses.
void Fuck();

// --- String helpers -----------------------------------------------------------

// Cuts the text at its last line end.
void Efface_n(char* text);
// Decimal text of `value`, cut to 10 characters, in a buffer of >= 11 bytes.
char* inttochar(int value, char* buffer);
// When `pattern` occurs, the text becomes what follows its first occurrence.
// An empty pattern leaves the text unchanged.
void Efface_char(char* text, const char* pattern);
// Positions of every occurrence of `pattern` (overlapping ones included), in
// increasing order, stored at the start of `positions`; returns how many were
// stored. At most INDEX_CH_MAX are stored: the table is assumed to hold that
// many. An empty pattern finds nothing and leaves the table untouched.
enum { INDEX_CH_MAX = 50 };
int index_ch(const char* text, const char* pattern, int* positions);
// Position of the first occurrence of `pattern`, or -1 when there is none
// (an empty pattern included).
int index_ch_first(const char* text, const char* pattern);

// --- Title banner and terminal relaunch ---------------------------------------

// Relaunches the program in an xterm when due (startxterm), then draws the
// five-line, 80-column banner around `banner_text` on standard output.
void Titre(int argc, char** argv, const char* window_title,
           const char* banner_text, const char* colours);
// When standard output is not a terminal, or argv[1] is "swxterm", replaces
// the process with /usr/bin/xterm running a new copy of the program in its
// directory with the remaining arguments. Returns when no relaunch is due or
// when xterm cannot be started.
void startxterm(int argc, char** argv, const char* window_title,
                const char* colours);

#endif  // TAVORIN_TOOLKIT_CONSOLE_CONSOLE_H_
