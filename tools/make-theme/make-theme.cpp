// Draws the theme's bitmaps and writes them as 24-bit uncompressed BMP files,
// and the same drawn at twice the size into DIRECTORY/2x/ for high DPIs; the
// dark theme's set likewise into DIRECTORY/dark/ and DIRECTORY/dark/2x/:
//   make-theme DIRECTORY
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
enum Strip { buttonStrip, buttonPressedStrip, tabStrip, tabPressedStrip, frameStrip, stripCount };

// Indexed by Strip.
static const StripCut stripCuts[stripCount] = {
    {"buttonleft.bmp", "buttonmiddle.bmp", "buttonright.bmp", 6, 10, 34},
    {"buttonleftpressed.bmp", "buttonmiddlepressed.bmp", "buttonrightpressed.bmp", 6, 10, 34},
    {"tableft.bmp", "tabmiddle.bmp", "tabright.bmp", 6, 10, 34},
    {"tabpressedleft.bmp", "tabpressedmiddle.bmp", "tabpressedright.bmp", 10, 10, 34},
    {"frameleft.bmp", "framemiddle.bmp", "frameright.bmp", 6, 6, 24},
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

enum GlyphName { linkGlyph, listGlyph, glyphCount };

// Indexed by GlyphName.
static const GlyphFile glyphFiles[glyphCount] = {
    {"link.bmp", 16, 15, {7.5, 7.5, 7.2, true}},
    {"list.bmp", 11, 15, {5.5, 7.5, 3.6, false}},
};

// One theme's look: the folder under DIRECTORY that holds it, the paper, each
// strip's style and each glyph's shading.
struct Theme {
    const char* folder;
    Colour paper;
    const BarStyle* styles[stripCount];
    Shading shadings[glyphCount];
};

static const Theme themes[] = {
    {"",
     white,
     {&buttonStyle, &buttonPressedStyle, &tabBarStyle, &tabPressedStyle, &frameHeaderStyle},
     {{{86, 140, 196}, {44, 92, 148}}, {{96, 112, 128}, {48, 58, 70}}}},
    {"dark/",
     darkPaper,
     {&buttonStyle, &buttonPressedStyle, &tabBarStyle, &tabPressedStyle, &darkFrameHeaderStyle},
     {{{86, 140, 196}, {44, 92, 148}}, {{170, 180, 190}, {130, 140, 150}}}},
};

static bool writeGlyph(const GlyphFile* entry, Shading shading, Colour paper, int scale,
                       const std::string& directory) {
    ShadedGlyph shaded = {&entry->glyph, shading, paper};
    Canvas* canvas = renderCanvas(entry->width, entry->height, scale, shadeGlyph, &shaded);
    bool written = canvas != nullptr && writeBitmapFile(canvas, directory + entry->file);
    deleteCanvas(canvas);
    return written;
}

// Writes the theme's whole set at one scale into directory; false after a
// report of the first file that can't be written.
static bool writeSet(const Theme* theme, int scale, const std::string& directory) {
    for (int strip = 0; strip < stripCount; strip++) {
        const StripCut* cut = &stripCuts[strip];
        if (!writeStrip(cut, theme->styles[strip], theme->paper, scale, directory)) {
            fprintf(stderr, "make-theme: cannot write the %s strip into %s\n", cut->leftFile, directory.c_str());
            return false;
        }
    }
    for (int glyph = 0; glyph < glyphCount; glyph++) {
        const GlyphFile* entry = &glyphFiles[glyph];
        if (!writeGlyph(entry, theme->shadings[glyph], theme->paper, scale, directory)) {
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

static const char doubledFolder[] = "2x/";
static const int doubledScale = 2;

int main(int argc, char** argv) {
    if (argc != 2) {
        fprintf(stderr, "usage: make-theme DIRECTORY\n");
        return 2;
    }
    for (const Theme& theme : themes) {
        const std::string directory = std::string(argv[1]) + "/" + theme.folder;
        const std::string doubled = directory + doubledFolder;
        if (!makeFolder(directory) || !writeSet(&theme, 1, directory) || !makeFolder(doubled) ||
            !writeSet(&theme, doubledScale, doubled)) {
            return 1;
        }
    }
    return 0;
}
