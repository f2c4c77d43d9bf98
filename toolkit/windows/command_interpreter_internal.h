// The stand-in for the Windows command interpreter on Linux, and the
// read-back half of the two queries, apart so that tests can drive each.
//
// The stand-in understands what the shell helpers send it:
//   - %name% is replaced by the value of the variable `name`, whatever its
//     case. SYSTEMROOT is C:\Windows and USERPROFILE is C:\Users\<login name>
//     (the login name of the effective user, or its number when the system
//     has no name for it). Any other %name% stays as written.
//   - Commands joined by "&&" run in turn; a failing command stops the rest.
//   - "> file" sends the command's report to `file`, created or emptied
//     first, under its name exactly as written (relative to the current
//     directory: "c:\temp.tmp" is a file of that literal name). A report that
//     is not redirected is dropped: the stand-in never writes to the
//     program's own output.
//   - cd FOLDER makes FOLDER the current folder (a folder beginning with a
//     drive, "X:", stands alone; one beginning with "\" is on the current
//     drive; any other is taken below the current folder; no folder is
//     checked) and reports it; cd alone reports the current folder. It
//     starts as the program's working directory seen from drive C:
//     (/home/ana becomes C:\home\ana).
//   - chcp N reports "Page de codes active : N"; a code page that is not a
//     number fails with no report.
//   - Any other command fails with no report.
// Every report is one line ending in "\n", the line end that a Windows
// text-mode read delivers.
#ifndef TAVORIN_TOOLKIT_WINDOWS_COMMAND_INTERPRETER_INTERNAL_H_
#define TAVORIN_TOOLKIT_WINDOWS_COMMAND_INTERPRETER_INTERNAL_H_

namespace tavorin {

// Runs one command line as described above. Returns 0 when every command
// ran, 1 otherwise (a redirection that cannot be opened included).
int command_interpreter(const char* command_line);

// What the queries do once their command has run: read the first line of
// the answer file "c:\temp.tmp" and cut out the drive letter or the last
// part of the folder path.
char* disk_system_answer(char* buffer);
char* local_user_answer(char* buffer);

}  // namespace tavorin

#endif  // TAVORIN_TOOLKIT_WINDOWS_COMMAND_INTERPRETER_INTERNAL_H_
