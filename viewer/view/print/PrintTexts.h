#pragma once
// The texts printed on every page of the font list. The page drawing and
// its model are portable, so they live here rather than in the string table.

// The title at the top of a page.
inline constexpr char kPrintTitle[] = "ソルベナ！！　Ｇｌｉｍｒａ Ver.2";
// The page number line: the page number and the page count.
inline constexpr char kPageFooterFormat[] = "Page %ld／%ld";
