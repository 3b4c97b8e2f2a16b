#pragma once
// The text and icon resources of the program's own image, over the Qt
// resource system. Names are matched without regard to ASCII case.
//
// Texts: ":/tabulo/text/<NAME>" (the bytes up to the first zero byte).
// Icons: every PNG in the folder ":/tabulo/icon/<NAME>/" as one QIcon (one
// size per file), or a single file ":/tabulo/icon/<NAME>.png".

#include <QIcon>
#include <string>
#include <string_view>

// The text resource of that name; the empty text when there is none.
std::string ResourceText(std::string_view name);

// The icon resource of that name; a null icon when there is none.
QIcon ResourceIcon(std::string_view name);

// Tests point the lookup at a folder laid out the same way (holding text/ and
// icon/); an empty text restores ":/tabulo".
void SetResourceRoot(std::string_view root);
