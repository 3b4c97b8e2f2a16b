#pragma once
// The texts and the icon compiled into the program.
//
//   :/tabulo/text/STR1 .. STR4          UTF-8 texts, lines separated by CR LF
//   :/tabulo/icon/ICON0/<size>.png      the program icon, 16 to 256 pixels
//
// The resources live in a static library, so the program registers them
// once at start-up, before anything looks a resource up.

void InitTabuloResources();
