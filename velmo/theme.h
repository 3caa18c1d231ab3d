// The theme's bitmaps, named once: getBitmaps builds its registry from this
// table, and the controls look their bitmaps up by its rows.
#ifndef VELMO_THEME_H
#define VELMO_THEME_H

// Rows of one list stand together; a strip's left, middle and right slices
// follow one another.
enum ThemeBitmap {
    buttonLeft,
    buttonMiddle,
    buttonRight,
    buttonLeftPressed,
    buttonMiddlePressed,
    buttonRightPressed,
    tabLeft,
    tabMiddle,
    tabRight,
    tabPressedLeft,
    tabPressedMiddle,
    tabPressedRight,
    linkIcon,
    frameLeft,
    frameMiddle,
    frameRight,
    listMarker,
    themeBitmapCount
};

struct ThemeRow {
    const char* listName;
    const char* bitmapName;
    const char* path;
};

extern const ThemeRow themeRows[themeBitmapCount];

#endif
