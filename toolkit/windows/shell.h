// Queries and settings of a Windows command interpreter.
//
// Each routine hands one fixed command line to the command interpreter. The
// two queries then read the answer file c:\temp.tmp back by that very name;
// the two settings let the code-page command report into temp.tmp in the
// current directory. Neither file is removed afterwards.
//
// On Linux, where there is no Windows command interpreter, a small stand-in
// answers these command lines (see command_interpreter_internal.h): the
// system folder is C:\Windows, the profile folder is C:\Users\<login name>,
// and both files are written in the current directory, the answer file under
// the literal name "c:\temp.tmp". The code-page commands change nothing on
// Linux: the terminal is expected to show Latin-1 already.
#ifndef TAVORIN_TOOLKIT_WINDOWS_SHELL_H_
#define TAVORIN_TOOLKIT_WINDOWS_SHELL_H_

// The drive letter of the system folder, as a one-letter text in `buffer`
// (at least 2 bytes), which is returned. An answer that cannot be read
// gives an empty text.
char* Disk_system(char* buffer);

// The name of the user's profile folder (the last part of its path) in
// `buffer` (a 255-byte line buffer), which is returned. An answer that cannot
// be read gives an empty text.
char* Local_user(char* buffer);

// Switches the console to the code page 1252, in which Latin-1 texts show
// their accented letters.
void accent_redir_dos();

// Switches the console back to the code page 437.
void annul_accent_redir_dos();

#endif  // TAVORIN_TOOLKIT_WINDOWS_SHELL_H_
