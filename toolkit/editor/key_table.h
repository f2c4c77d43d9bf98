// The editor's key filter, shared by the editor and its tests.
#ifndef TAVORIN_TOOLKIT_EDITOR_KEY_TABLE_H_
#define TAVORIN_TOOLKIT_EDITOR_KEY_TABLE_H_

namespace tavorin::editor {

// The profile the editor uses for `profile`: 1 to 6 as given, anything else 1.
int profil_effectif(int profile);

// The character a key gives in a profile, or 0 when the profile refuses it.
// `key` is the byte left once a UTF-8 prefix (0xC2, 0xC3) was dropped, with §
// (C2 A7) already turned into 0xA6. Escape and DEL are editing keys, not
// looked up here: they are refused.
char caractere_touche(int key, int profile);

}  // namespace tavorin::editor

#endif  // TAVORIN_TOOLKIT_EDITOR_KEY_TABLE_H_
