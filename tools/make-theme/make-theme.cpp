// Draws the theme's bitmaps and writes them as 24-bit uncompressed BMP files,
// and the same drawn at twice the size into DIRECTORY/2x/ for high DPIs; the
// dark theme's set likewise into DIRECTORY/dark/ and DIRECTORY/dark/2x/:
//   make-theme [--slate] DIRECTORY
// Without --slate it draws the built-in theme (bitmap/); with it the slate
// theme folder (themes/slate/), which also has the hot and disabled images
// and a theme.ini in DIRECTORY and in DIRECTORY/dark/.
// Each strip is drawn once as a whole bar and cut into its caps and middle, so
// the pieces meet seamlessly whatever width the controls stretch them to.
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>

#include <sys/stat.h>

struct Colour {
    double red;
    double green;
    double blue;
};

struct Canvas {
    int width;
    int height;
    Colour* pixels;
};

// What a sample point shows; context is the drawing's own description.
typedef Colour (*Shader)(const void* context, double x, double y);

static const Colour white = {255, 255, 255};
static const Colour darkPaper = {32, 33, 36};
static const int samplesPerAxis = 4;

static Canvas* newCanvas(int width, int height) {
    Canvas* canvas = new (std::nothrow) Canvas;
    if (canvas == nullptr) {
        return nullptr;
    }
    canvas->width = width;
    canvas->height = height;
    canvas->pixels = new (std::nothrow) Colour[width * height];
    if (canvas->pixels == nullptr) {
        delete canvas;
        return nullptr;
    }
    return canvas;
}

static void deleteCanvas(Canvas* canvas) {
    if (canvas != nullptr) {
        delete[] canvas->pixels;
        delete canvas;
    }
}

static Colour mixColours(Colour from, Colour to, double amount) {
    return {from.red + (to.red - from.red) * amount, from.green + (to.green - from.green) * amount,
            from.blue + (to.blue - from.blue) * amount};
}

// Supersampled, so rounded corners and round glyphs get smooth edges. The
// drawing is made scale times its own size: its coordinates are divided by it.
static Canvas* renderCanvas(int width, int height, int scale, Shader shade, const void* context) {
    Canvas* canvas = newCanvas(width * scale, height * scale);
    if (canvas == nullptr) {
        return nullptr;
    }
    const double step = 1.0 / samplesPerAxis;
    const double weight = 1.0 / (samplesPerAxis * samplesPerAxis);
    for (int y = 0; y < canvas->height; y++) {
        for (int x = 0; x < canvas->width; x++) {
            Colour sum = {0, 0, 0};
            for (int sy = 0; sy < samplesPerAxis; sy++) {
                for (int sx = 0; sx < samplesPerAxis; sx++) {
                    Colour sample = shade(context, (x + (sx + 0.5) * step) / scale, (y + (sy + 0.5) * step) / scale);
                    sum.red += sample.red * weight;
                    sum.green += sample.green * weight;
                    sum.blue += sample.blue * weight;
                }
            }
            canvas->pixels[y * canvas->width + x] = sum;
        }
    }
    return canvas;
}

static Canvas* cropCanvas(const Canvas* source, int left, int width) {
    Canvas* canvas = newCanvas(width, source->height);
    if (canvas == nullptr) {
        return nullptr;
    }
    for (int y = 0; y < source->height; y++) {
        memcpy(&canvas->pixels[y * width], &source->pixels[y * source->width + left], width * sizeof(Colour));
    }
    return canvas;
}

static unsigned char toByte(double value) {
    long rounded = lround(value);
    return static_cast<unsigned char>(rounded < 0 ? 0 : rounded > 255 ? 255 : rounded);
}

static void putLittleEndian(unsigned char* destination, unsigned long value, int size) {
    for (int i = 0; i < size; i++) {
        destination[i] = static_cast<unsigned char>(value >> (8 * i));
    }
}

static const int fileHeaderSize = 14;
static const int infoHeaderSize = 40;
static const int bitsPerPixel = 24;
static const int pixelsPerMetre = 2835;  // 72 dots per inch

// Bottom-up rows of blue, green, red, each padded to a multiple of 4 bytes.
static bool writeBitmapFile(const Canvas* canvas, const std::string& path) {
    const int rowSize = (canvas->width * 3 + 3) / 4 * 4;
    const int imageSize = rowSize * canvas->height;
    const int fileSize = fileHeaderSize + infoHeaderSize + imageSize;
    unsigned char* bytes = new (std::nothrow) unsigned char[fileSize]();
    if (bytes == nullptr) {
        return false;
    }
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian(bytes + 2, fileSize, 4);
    putLittleEndian(bytes + 10, fileHeaderSize + infoHeaderSize, 4);
    unsigned char* info = bytes + fileHeaderSize;
    putLittleEndian(info, infoHeaderSize, 4);
    putLittleEndian(info + 4, canvas->width, 4);
    putLittleEndian(info + 8, canvas->height, 4);
    putLittleEndian(info + 12, 1, 2);
    putLittleEndian(info + 14, bitsPerPixel, 2);
    putLittleEndian(info + 20, imageSize, 4);
    putLittleEndian(info + 24, pixelsPerMetre, 4);
    putLittleEndian(info + 28, pixelsPerMetre, 4);
    unsigned char* image = info + infoHeaderSize;
    for (int y = 0; y < canvas->height; y++) {
        unsigned char* row = image + (canvas->height - 1 - y) * rowSize;
        for (int x = 0; x < canvas->width; x++) {
            Colour pixel = canvas->pixels[y * canvas->width + x];
            row[x * 3] = toByte(pixel.blue);
            row[x * 3 + 1] = toByte(pixel.green);
            row[x * 3 + 2] = toByte(pixel.red);
        }
    }
    FILE* file = fopen(path.c_str(), "wb");
    bool written = file != nullptr && fwrite(bytes, 1, fileSize, file) == static_cast<size_t>(fileSize);
    if (file != nullptr && fclose(file) != 0) {
        written = false;
    }
    delete[] bytes;
    return written;
}

// A bar: a face with a vertical gradient, a light first row and a dark last
// row inside a 1-pixel outline with rounded corners. Outside the corners (and
// above a top margin) shows what lies under the bar: another bar, or the
// paper that the theme's controls stand on.
struct BarStyle {
    Colour top;
    Colour bottom;
    Colour highlight;
    Colour shadow;
    Colour outline;
    double radius;
    bool roundBottom;
    double marginTop;
    const BarStyle* under;
    Colour accent;
    double accentRows;
};

struct Bar {
    const BarStyle* style;
    double width;
    double height;
    Colour paper;
};

static bool insideRoundedBox(double x, double y, double left, double top, double right, double bottom,
                             double radius, bool roundBottom) {
    if (x < left || x >= right || y < top || y >= bottom) {
        return false;
    }
    double cornerX = x < left + radius ? left + radius : x > right - radius ? right - radius : x;
    double cornerY = y < top + radius ? top + radius : (roundBottom && y > bottom - radius) ? bottom - radius : y;
    double dx = x - cornerX;
    double dy = y - cornerY;
    return dx * dx + dy * dy <= radius * radius;
}

// A piece drawn over a bar lies somewhere in its middle, far from its caps.
static const double underWidth = 1000;

static Colour shadeBar(const void* context, double x, double y) {
    const Bar* bar = static_cast<const Bar*>(context);
    const BarStyle* style = bar->style;
    const double top = style->marginTop;
    const double bottom = bar->height;
    if (!insideRoundedBox(x, y, 0, top, bar->width, bottom, style->radius, style->roundBottom)) {
        Bar under = {style->under, underWidth, bar->height, bar->paper};
        return style->under != nullptr ? shadeBar(&under, underWidth / 2, y) : bar->paper;
    }
    const double inner = style->radius > 1 ? style->radius - 1 : 0;
    if (!insideRoundedBox(x, y, 1, top + 1, bar->width - 1, bottom - 1, inner, style->roundBottom)) {
        return style->outline;
    }
    if (y < top + 2) {
        return style->highlight;
    }
    if (y >= bottom - 1 - style->accentRows) {
        return style->accent;
    }
    if (y >= bottom - 2) {
        return style->shadow;
    }
    return mixColours(style->top, style->bottom, (y - top - 2) / (bottom - top - 4));
}

static const BarStyle buttonStyle = {
    {84, 98, 112}, {48, 58, 70}, {118, 132, 146}, {36, 44, 53}, {26, 32, 39}, 4, true, 0, nullptr, {}, 0};
static const BarStyle buttonPressedStyle = {
    {104, 124, 144}, {80, 98, 116}, {70, 84, 98}, {118, 138, 158}, {26, 32, 39}, 4, true, 0, nullptr, {}, 0};
static const BarStyle tabBarStyle = {
    {64, 76, 88}, {40, 49, 58}, {88, 100, 112}, {30, 37, 44}, {26, 32, 39}, 3, true, 0, nullptr, {}, 0};
static const BarStyle tabPressedStyle = {
    {112, 132, 152}, {84, 102, 120}, {140, 158, 176}, {84, 102, 120}, {26, 32, 39}, 3, false, 5,
    &tabBarStyle, {132, 184, 232}, 2};
static const BarStyle frameHeaderStyle = {
    {250, 251, 252}, {226, 231, 236}, {255, 255, 255}, {214, 219, 224}, {210, 210, 210}, 0, false, 0, nullptr, {}, 0};
static const BarStyle darkFrameHeaderStyle = {
    {56, 60, 66}, {44, 48, 54}, {70, 75, 82}, {36, 39, 44}, {95, 99, 104}, 0, false, 0, nullptr, {}, 0};

// Slate: light blue-grey bars with dark text, rounder corners, a blue accent.
static const Colour slateOutline = {120, 138, 156};
static const BarStyle slateButtonStyle = {
    {214, 224, 234}, {184, 199, 214}, {236, 242, 248}, {160, 176, 192}, slateOutline, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateButtonHotStyle = {
    {228, 238, 248}, {198, 215, 232}, {246, 250, 254}, {170, 188, 206}, {96, 126, 156}, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateButtonPressedStyle = {
    {160, 178, 196}, {184, 199, 214}, {140, 158, 176}, {196, 210, 224}, {96, 116, 136}, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateButtonDisabledStyle = {
    {232, 235, 238}, {220, 224, 228}, {242, 244, 246}, {210, 214, 218}, {190, 196, 202}, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateTabBarStyle = {
    {200, 212, 224}, {178, 192, 206}, {222, 230, 238}, {160, 174, 188}, slateOutline, 5, true, 0, nullptr, {}, 0};
static const BarStyle slateTabHotStyle = {
    {224, 234, 244}, {204, 216, 228}, {240, 246, 252}, {190, 202, 214}, slateOutline, 5, false, 5,
    &slateTabBarStyle, {150, 180, 210}, 1};
static const BarStyle slateTabPressedStyle = {
    {250, 251, 252}, {236, 240, 244}, {255, 255, 255}, {236, 240, 244}, slateOutline, 5, false, 5,
    &slateTabBarStyle, {74, 120, 166}, 2};
static const BarStyle slateFrameHeaderStyle = {
    {232, 238, 244}, {212, 222, 232}, {246, 249, 252}, {196, 208, 220}, {170, 184, 198}, 0, false, 0, nullptr, {}, 0};

static const Colour slateDarkOutline = {24, 30, 36};
static const BarStyle slateDarkButtonStyle = {
    {70, 84, 98}, {52, 64, 76}, {92, 106, 120}, {40, 50, 60}, slateDarkOutline, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateDarkButtonHotStyle = {
    {84, 100, 116}, {64, 78, 92}, {108, 124, 140}, {48, 60, 72}, slateDarkOutline, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateDarkButtonPressedStyle = {
    {46, 58, 70}, {60, 74, 88}, {38, 48, 58}, {72, 86, 100}, slateDarkOutline, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateDarkButtonDisabledStyle = {
    {50, 56, 62}, {44, 50, 56}, {58, 64, 70}, {40, 46, 52}, {36, 42, 48}, 6, true, 0, nullptr, {}, 0};
static const BarStyle slateDarkTabBarStyle = {
    {56, 68, 80}, {44, 54, 64}, {70, 82, 94}, {36, 44, 52}, slateDarkOutline, 5, true, 0, nullptr, {}, 0};
static const BarStyle slateDarkTabHotStyle = {
    {72, 86, 100}, {58, 70, 82}, {88, 102, 116}, {58, 70, 82}, slateDarkOutline, 5, false, 5,
    &slateDarkTabBarStyle, {90, 130, 170}, 1};
static const BarStyle slateDarkTabPressedStyle = {
    {36, 44, 52}, {30, 36, 42}, {50, 60, 70}, {30, 36, 42}, slateDarkOutline, 5, false, 5,
    &slateDarkTabBarStyle, {120, 170, 220}, 2};
static const BarStyle slateDarkFrameHeaderStyle = {
    {48, 56, 64}, {40, 48, 56}, {60, 68, 76}, {34, 40, 46}, {70, 80, 90}, 0, false, 0, nullptr, {}, 0};

struct StripCut {
    const char* leftFile;
    const char* middleFile;
    const char* rightFile;
    int capWidth;
    int middleWidth;
    int height;
};

// Caps at their own size; middles as wide as the controls read them (10 x 34
// for button and tab; the frame stretches its whole middle, no wider than a cap).
// The hot and disabled strips come only in theme folders.
enum Strip {
    buttonStrip,
    buttonPressedStrip,
    tabStrip,
    tabPressedStrip,
    frameStrip,
    buttonHotStrip,
    buttonDisabledStrip,
    tabHotStrip,
    stripCount
};

// Indexed by Strip.
static const StripCut stripCuts[stripCount] = {
    {"buttonleft.bmp", "buttonmiddle.bmp", "buttonright.bmp", 6, 10, 34},
    {"buttonleftpressed.bmp", "buttonmiddlepressed.bmp", "buttonrightpressed.bmp", 6, 10, 34},
    {"tableft.bmp", "tabmiddle.bmp", "tabright.bmp", 6, 10, 34},
    {"tabpressedleft.bmp", "tabpressedmiddle.bmp", "tabpressedright.bmp", 10, 10, 34},
    {"frameleft.bmp", "framemiddle.bmp", "frameright.bmp", 6, 6, 24},
    {"buttonlefthot.bmp", "buttonmiddlehot.bmp", "buttonrighthot.bmp", 6, 10, 34},
    {"buttonleftdisabled.bmp", "buttonmiddledisabled.bmp", "buttonrightdisabled.bmp", 6, 10, 34},
    {"tabhotleft.bmp", "tabhotmiddle.bmp", "tabhotright.bmp", 10, 10, 34},
};

static bool writePiece(const Canvas* strip, int left, int width, const std::string& path) {
    Canvas* piece = cropCanvas(strip, left, width);
    bool written = piece != nullptr && writeBitmapFile(piece, path);
    deleteCanvas(piece);
    return written;
}

static bool writeStrip(const StripCut* cut, const BarStyle* style, Colour paper, int scale,
                       const std::string& directory) {
    const int width = 2 * cut->capWidth + cut->middleWidth;
    Bar bar = {style, static_cast<double>(width), static_cast<double>(cut->height), paper};
    Canvas* strip = renderCanvas(width, cut->height, scale, shadeBar, &bar);
    if (strip == nullptr) {
        return false;
    }
    const int cap = cut->capWidth * scale;
    const int middle = cut->middleWidth * scale;
    bool written = writePiece(strip, 0, cap, directory + cut->leftFile) &&
                   writePiece(strip, cap, middle, directory + cut->middleFile) &&
                   writePiece(strip, cap + middle, cap, directory + cut->rightFile);
    deleteCanvas(strip);
    return written;
}

// Round glyphs on the theme's paper: the link's white arrow in a disc and
// the list's bullet, each shaded from top to bottom.
struct Glyph {
    double centreX;
    double centreY;
    double radius;
    bool arrow;
};

struct Shading {
    Colour top;
    Colour bottom;
};

struct ShadedGlyph {
    const Glyph* glyph;
    Shading shading;
    Colour paper;
};

static bool insideArrow(double x, double y, double centreX, double centreY) {
    const double shaftHalf = 0.9;
    const double shaftStart = centreX - 3.6;
    const double headStart = centreX + 0.2;
    const double headEnd = centreX + 3.8;
    const double headHalf = 3.4;
    double dy = fabs(y - centreY);
    if (x >= shaftStart && x < headStart && dy <= shaftHalf) {
        return true;
    }
    return x >= headStart && x < headEnd && dy <= headHalf * (headEnd - x) / (headEnd - headStart);
}

static Colour shadeGlyph(const void* context, double x, double y) {
    const ShadedGlyph* shaded = static_cast<const ShadedGlyph*>(context);
    const Glyph* glyph = shaded->glyph;
    double dx = x - glyph->centreX;
    double dy = y - glyph->centreY;
    if (dx * dx + dy * dy > glyph->radius * glyph->radius) {
        return shaded->paper;
    }
    if (glyph->arrow && insideArrow(x, y, glyph->centreX, glyph->centreY)) {
        return white;
    }
    return mixColours(shaded->shading.top, shaded->shading.bottom, (dy + glyph->radius) / (2 * glyph->radius));
}

struct GlyphFile {
    const char* file;
    int width;
    int height;
    Glyph glyph;
};

enum GlyphName { linkGlyph, listGlyph, linkHotGlyph, linkDisabledGlyph, glyphCount };

static const Glyph linkArrow = {7.5, 7.5, 7.2, true};

// Indexed by GlyphName.
static const GlyphFile glyphFiles[glyphCount] = {
    {"link.bmp", 16, 15, linkArrow},
    {"list.bmp", 11, 15, {5.5, 7.5, 3.6, false}},
    {"linkhot.bmp", 16, 15, linkArrow},
    {"linkdisabled.bmp", 16, 15, linkArrow},
};

// One theme's look: the folder under DIRECTORY that holds it, the paper, each
// strip's style and each glyph's shading (null: not drawn), and the text of
// its theme.ini (null: none).
struct Theme {
    const char* folder;
    Colour paper;
    const BarStyle* styles[stripCount];
    const Shading* shadings[glyphCount];
    const char* settings;
};

static const Shading linkShading = {{86, 140, 196}, {44, 92, 148}};
static const Shading listShading = {{96, 112, 128}, {48, 58, 70}};
static const Shading darkListShading = {{170, 180, 190}, {130, 140, 150}};

static const Theme builtInThemes[] = {
    {"",
     white,
     {&buttonStyle, &buttonPressedStyle, &tabBarStyle, &tabPressedStyle, &frameHeaderStyle},
     {&linkShading, &listShading},
     nullptr},
    {"dark/",
     darkPaper,
     {&buttonStyle, &buttonPressedStyle, &tabBarStyle, &tabPressedStyle, &darkFrameHeaderStyle},
     {&linkShading, &darkListShading},
     nullptr},
};

static const Shading slateLinkShading = {{90, 130, 170}, {60, 96, 134}};
static const Shading slateListShading = {{120, 138, 156}, {84, 100, 116}};
static const Shading slateLinkHotShading = {{110, 156, 202}, {74, 118, 162}};
static const Shading slateLinkDisabledShading = {{190, 198, 206}, {160, 170, 180}};
static const Shading slateDarkLinkShading = {{120, 170, 220}, {80, 130, 180}};
static const Shading slateDarkListShading = {{150, 166, 182}, {110, 126, 142}};
static const Shading slateDarkLinkHotShading = {{150, 196, 240}, {100, 150, 200}};
static const Shading slateDarkLinkDisabledShading = {{90, 100, 110}, {70, 80, 90}};

static const char slateSettings[] =
    "[theme]\r\nname=Slate\r\n\r\n"
    "[font]\r\nface=Verdana\r\nsize=13\r\nbold=0\r\n\r\n"
    "[button]\r\ntext=#1F2A36\r\nhotText=#16324F\r\npressedText=#0F1A24\r\ndisabledText=#8A96A3\r\n\r\n"
    "[tab]\r\ntext=#1F2A36\r\nhotText=#16324F\r\npressedText=#1F4E7A\r\ndisabledText=#8A96A3\r\n\r\n"
    "[link]\r\ntext=#2F5F8F\r\nhotText=#1C4670\r\ndisabledText=#9AA5B1\r\nbackground=#F4F6F8\r\n\r\n"
    "[list]\r\ntext=#3A4754\r\nbackground=#F4F6F8\r\n\r\n"
    "[static]\r\ntext=#3A4754\r\nbackground=#F4F6F8\r\n\r\n"
    "[frame]\r\ntext=#1F2A36\r\nbackground=#F4F6F8\r\n\r\n"
    "[edit]\r\ntext=#1F2A36\r\nbackground=#FFFFFF\r\nframe=#B4C0CC\r\n\r\n"
    "[window]\r\nbackground=#F4F6F8\r\n";

// The dark variant gives every colour again; name and font come from the theme.
static const char slateDarkSettings[] =
    "[button]\r\ntext=#E3E9EF\r\nhotText=#FFFFFF\r\npressedText=#C9D6E3\r\ndisabledText=#7D8894\r\n\r\n"
    "[tab]\r\ntext=#D5DEE7\r\nhotText=#FFFFFF\r\npressedText=#9CC4EC\r\ndisabledText=#7D8894\r\n\r\n"
    "[link]\r\ntext=#8CBCEB\r\nhotText=#B5D5F5\r\ndisabledText=#6B7682\r\nbackground=#1E242A\r\n\r\n"
    "[list]\r\ntext=#C2CCD6\r\nbackground=#1E242A\r\n\r\n"
    "[static]\r\ntext=#C2CCD6\r\nbackground=#1E242A\r\n\r\n"
    "[frame]\r\ntext=#E3E9EF\r\nbackground=#1E242A\r\n\r\n"
    "[edit]\r\ntext=#E3E9EF\r\nbackground=#262D34\r\nframe=#4A5663\r\n\r\n"
    "[window]\r\nbackground=#1E242A\r\n";

// The papers are the [window] backgrounds above.
static const Theme slateThemes[] = {
    {"",
     {244, 246, 248},
     {&slateButtonStyle, &slateButtonPressedStyle, &slateTabBarStyle, &slateTabPressedStyle, &slateFrameHeaderStyle,
      &slateButtonHotStyle, &slateButtonDisabledStyle, &slateTabHotStyle},
     {&slateLinkShading, &slateListShading, &slateLinkHotShading, &slateLinkDisabledShading},
     slateSettings},
    {"dark/",
     {30, 36, 42},
     {&slateDarkButtonStyle, &slateDarkButtonPressedStyle, &slateDarkTabBarStyle, &slateDarkTabPressedStyle,
      &slateDarkFrameHeaderStyle, &slateDarkButtonHotStyle, &slateDarkButtonDisabledStyle, &slateDarkTabHotStyle},
     {&slateDarkLinkShading, &slateDarkListShading, &slateDarkLinkHotShading, &slateDarkLinkDisabledShading},
     slateDarkSettings},
};

static bool writeGlyph(const GlyphFile* entry, const Shading* shading, Colour paper, int scale,
                       const std::string& directory) {
    ShadedGlyph shaded = {&entry->glyph, *shading, paper};
    Canvas* canvas = renderCanvas(entry->width, entry->height, scale, shadeGlyph, &shaded);
    bool written = canvas != nullptr && writeBitmapFile(canvas, directory + entry->file);
    deleteCanvas(canvas);
    return written;
}

// Writes the strips and glyphs that the theme has, at one scale, into
// directory; false after a report of the first file that can't be written.
static bool writeSet(const Theme* theme, int scale, const std::string& directory) {
    for (int strip = 0; strip < stripCount; strip++) {
        const StripCut* cut = &stripCuts[strip];
        const BarStyle* style = theme->styles[strip];
        if (style != nullptr && !writeStrip(cut, style, theme->paper, scale, directory)) {
            fprintf(stderr, "make-theme: cannot write the %s strip into %s\n", cut->leftFile, directory.c_str());
            return false;
        }
    }
    for (int glyph = 0; glyph < glyphCount; glyph++) {
        const GlyphFile* entry = &glyphFiles[glyph];
        const Shading* shading = theme->shadings[glyph];
        if (shading != nullptr && !writeGlyph(entry, shading, theme->paper, scale, directory)) {
            fprintf(stderr, "make-theme: cannot write %s into %s\n", entry->file, directory.c_str());
            return false;
        }
    }
    return true;
}

static bool makeFolder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) {
        fprintf(stderr, "make-theme: cannot make %s\n", folder.c_str());
        return false;
    }
    return true;
}

// Byte for byte as given: the line ends stay CR LF on every system.
static bool writeSettings(const char* settings, const std::string& path) {
    FILE* file = fopen(path.c_str(), "wb");
    size_t length = strlen(settings);
    bool written = file != nullptr && fwrite(settings, 1, length, file) == length;
    if (file != nullptr && fclose(file) != 0) {
        written = false;
    }
    if (!written) {
        fprintf(stderr, "make-theme: cannot write %s\n", path.c_str());
    }
    return written;
}

static const char doubledFolder[] = "2x/";
static const int doubledScale = 2;
static const char settingsFile[] = "theme.ini";

static bool writeTheme(const Theme* theme, const std::string& root) {
    const std::string directory = root + "/" + theme->folder;
    const std::string doubled = directory + doubledFolder;
    return makeFolder(directory) && writeSet(theme, 1, directory) && makeFolder(doubled) &&
           writeSet(theme, doubledScale, doubled) &&
           (theme->settings == nullptr || writeSettings(theme->settings, directory + settingsFile));
}

int main(int argc, char** argv) {
    const bool slate = argc == 3 && strcmp(argv[1], "--slate") == 0;
    if (argc != 2 && !slate) {
        fprintf(stderr, "usage: make-theme [--slate] DIRECTORY\n");
        return 2;
    }
    const char* root = argv[argc - 1];
    for (const Theme& theme : slate ? slateThemes : builtInThemes) {
        if (!writeTheme(&theme, root)) {
            return 1;
        }
    }
    return 0;
}
