// GDI: brushes, pens, bitmaps and fonts; window and memory device contexts; the
// drawing functions on pixel surfaces; bitmaps and icons decoded from a module's
// resources; system colours; and the picture test controls (reading surfaces, saving
// them as PNG files).
//
// The rules follow what the platform does (checked under Wine, 24-bit display):
// - LoadBitmapA gives a new 32-bit device-dependent bitmap each call (GetObjectA:
//   bmWidthBytes = 4 x width, one plane, no bits pointer); GetObjectA answers 0 when
//   the buffer is smaller than BITMAP and sizeof(BITMAP) for a null buffer.
// - A new memory device context holds a 1 x 1 monochrome bitmap: a colour set there
//   becomes white if it is white, else black. A bitmap selected into one device
//   context cannot be selected into another (SelectObject gives null).
// - Window and memory device contexts start with WHITE_BRUSH and BLACK_PEN.
// - GetPixel outside the surface gives CLR_INVALID. SetPixel answers the colour it set,
//   and outside the surface Wine answers the colour too, setting nothing.
// - FillRect fills right and bottom exclusive; a rectangle given upside down fills the
//   columns right + 1 to left (and rows likewise).
// - Rectangle draws its outline with the pen along left, top, right - 1, bottom - 1 and
//   fills inside it with the brush; with the null pen the brush fills left to right - 1
//   and top to bottom - 1.
// - LineTo with a pen of width 0 or 1 leaves out the end point; a pixel midway between
//   two rows (or columns) takes the one with the smaller coordinate. A wider pen covers
//   the whole segment, ends included, with a 2 x 2 square for width 2 and a round
//   dab (the 3 x 3 cross for width 3) for odd widths.
// - DeleteObject: stock objects stay and answer TRUE; deleting a selected object
//   answers TRUE too (the device context keeps using it); a null handle gives FALSE.
// - IntersectRect gives an all-zero rectangle and FALSE when there is no overlap.
// Dashed and dotted pens draw solid.
#include "world.h"

#include <algorithm>
#include <cstring>
#include <fstream>

namespace winsim {
namespace {

constexpr WORD RT_BITMAP_ID = 2;
constexpr WORD RT_ICON_ID = 3;
constexpr WORD RT_GROUP_ICON_ID = 14;
constexpr int DEFAULT_BITMAP = 1000;
constexpr int SYS_COLOUR_BRUSHES = 2000;
constexpr COLORREF WHITE = 0xFFFFFF;

// Wine's system colours, COLOR_SCROLLBAR (0) to 30.
constexpr COLORREF SYSTEM_COLOURS[] = {
    0xFFFFFF, 0x956F25, 0xFA9632, 0x808080, 0xFFFFFF, 0xFFFFFF, 0x9E9E9E, 0x000000, 0x000000, 0x000000, 0xFFFFFF,
    0xFFFFFF, 0x808080, 0xFA9630, 0xFFFFFF, 0xF5F5F5, 0xA6A6A6, 0xA6A6A6, 0x000000, 0xC8C8C8, 0xFFFFFF, 0x6A6A6A,
    0xE3E3E3, 0x000000, 0xFFFFFF, 0xFFFFFF, 0xE0E0E0, 0xFA9632, 0x808080, 0xFA9630, 0xFFFFFF,
};

HGDIOBJ ObjectHandle(std::size_t index)
{
    return MakeHandle<HGDIOBJ>(GDI_HANDLE_BASE, index);
}

HGDIOBJ NewObject(GdiObject object)
{
    World &world = TheWorld();
    world.gdiObjects.push_back(std::move(object));
    return ObjectHandle(world.gdiObjects.size() - 1);
}

HGDIOBJ Stock(int key, const GdiObject &object)
{
    World &world = TheWorld();
    if (auto found = world.stockObjects.find(key); found != world.stockObjects.end())
        return ObjectHandle(found->second);
    GdiObject stock = object;
    stock.stock = true;
    NewObject(stock);
    world.stockObjects[key] = world.gdiObjects.size() - 1;
    return ObjectHandle(world.gdiObjects.size() - 1);
}

GdiObject Brush(COLORREF colour, bool hollow = false)
{
    GdiObject brush{GdiKind::Brush};
    brush.colour = colour;
    brush.hollow = hollow;
    return brush;
}

GdiObject Pen(COLORREF colour, int width, int style)
{
    GdiObject pen{GdiKind::Pen};
    pen.colour = colour;
    pen.penWidth = width;
    pen.penStyle = style;
    pen.hollow = style == PS_NULL;
    return pen;
}

HGDIOBJ StockObject(int index)
{
    switch (index) {
    case WHITE_BRUSH:
        return Stock(index, Brush(0xFFFFFF));
    case LTGRAY_BRUSH:
        return Stock(index, Brush(0xC0C0C0));
    case GRAY_BRUSH:
        return Stock(index, Brush(0x808080));
    case DKGRAY_BRUSH:
        return Stock(index, Brush(0x404040));
    case BLACK_BRUSH:
        return Stock(index, Brush(0x000000));
    case NULL_BRUSH:
        return Stock(index, Brush(0, true));
    case WHITE_PEN:
        return Stock(index, Pen(0xFFFFFF, 1, PS_SOLID));
    case BLACK_PEN:
        return Stock(index, Pen(0x000000, 1, PS_SOLID));
    case NULL_PEN:
        return Stock(index, Pen(0, 1, PS_NULL));
    case OEM_FIXED_FONT:
    case ANSI_FIXED_FONT:
    case ANSI_VAR_FONT:
    case SYSTEM_FONT:
    case DEVICE_DEFAULT_FONT:
    case SYSTEM_FIXED_FONT:
    case DEFAULT_GUI_FONT:
        return Stock(index, GdiObject{GdiKind::Font});
    case DEFAULT_BITMAP: {
        GdiObject bitmap{GdiKind::Bitmap};
        bitmap.bitsPixel = 1;
        bitmap.pixels = Surface{1, 1, {0}};
        return Stock(index, bitmap);
    }
    default:
        return nullptr;
    }
}

HDC NewDC(DeviceContext dc)
{
    dc.brush = StockObject(WHITE_BRUSH);
    dc.pen = StockObject(BLACK_PEN);
    dc.font = StockObject(SYSTEM_FONT);
    World &world = TheWorld();
    world.dcs.push_back(dc);
    return MakeHandle<HDC>(DC_HANDLE_BASE, world.dcs.size() - 1);
}

// Where a device context draws, and whether it is the monochrome kind.
Surface *Target(HDC dc, bool *mono = nullptr)
{
    DeviceContext *context = FindDC(dc);
    if (!context)
        return nullptr;
    if (mono)
        *mono = false;
    if (context->memory) {
        GdiObject *bitmap = FindGdiObject(context->bitmap);
        if (!bitmap)
            return nullptr;
        if (mono)
            *mono = bitmap->bitsPixel == 1;
        return &bitmap->pixels;
    }
    Window *w = FindWindowRecord(context->window);
    if (!w)
        return nullptr;
    const int width = w->client.right - w->client.left, height = w->client.bottom - w->client.top;
    if (w->surface.width != width || w->surface.height != height)
        w->surface = Surface{width, height, std::vector<COLORREF>(static_cast<std::size_t>(width) * height, 0)};
    return &w->surface;
}

COLORREF Stored(COLORREF colour, bool mono)
{
    colour &= 0xFFFFFF;
    return mono ? (colour == WHITE ? WHITE : 0) : colour;
}

void Plot(Surface *surface, bool mono, int x, int y, COLORREF colour)
{
    if (x >= 0 && y >= 0 && x < surface->width && y < surface->height)
        surface->pixels[static_cast<std::size_t>(y) * surface->width + x] = Stored(colour, mono);
}

void FillArea(HDC dc, int left, int top, int right, int bottom, COLORREF colour)
{
    bool mono;
    Surface *surface = Target(dc, &mono);
    if (!surface)
        return;
    for (int y = std::max(top, 0); y < std::min(bottom, surface->height); ++y)
        for (int x = std::max(left, 0); x < std::min(right, surface->width); ++x)
            surface->pixels[static_cast<std::size_t>(y) * surface->width + x] = Stored(colour, mono);
}

// The pixels of a segment: for each step along the major axis, the minor coordinate
// rounded with halves going to the smaller value. `last` includes the end point.
std::vector<POINT> SegmentPixels(POINT from, POINT to, bool last)
{
    std::vector<POINT> pixels;
    const long long dx = to.x - from.x, dy = to.y - from.y;
    const long long steps = std::max(dx < 0 ? -dx : dx, dy < 0 ? -dy : dy);
    if (steps == 0) {
        if (last)
            pixels.push_back(from);
        return pixels;
    }
    // round-half-down of from + i * d / steps: ceil((2 * i * d - steps) / (2 * steps)).
    auto minor = [steps](long long start, long long delta, long long i) {
        const long long numerator = 2 * i * delta - steps, denominator = 2 * steps;
        const long long q = numerator / denominator;
        return start + ((numerator % denominator != 0 && numerator > 0) ? q + 1 : q);
    };
    const bool xMajor = (dx < 0 ? -dx : dx) >= (dy < 0 ? -dy : dy);
    for (long long i = 0; i < steps + (last ? 1 : 0); ++i) {
        const long long x = xMajor ? from.x + (dx > 0 ? i : -i) : minor(from.x, dx, i);
        const long long y = xMajor ? minor(from.y, dy, i) : from.y + (dy > 0 ? i : -i);
        pixels.push_back(POINT{static_cast<LONG>(x), static_cast<LONG>(y)});
    }
    return pixels;
}

// The pixels a wide pen covers around a point.
std::vector<POINT> Dab(int width)
{
    std::vector<POINT> dab;
    if (width == 2) {
        for (int dy = -1; dy <= 0; ++dy)
            for (int dx = -1; dx <= 0; ++dx)
                dab.push_back(POINT{dx, dy});
        return dab;
    }
    const int low = -(width / 2), high = (width - 1) / 2;
    const double centre = (width % 2) ? 0.0 : -0.5;
    const double radius = (width % 2) ? (width - 1) / 2.0 : width / 2.0;
    for (int dy = low; dy <= high; ++dy)
        for (int dx = low; dx <= high; ++dx) {
            const double ex = dx - centre, ey = dy - centre;
            if (ex * ex + ey * ey <= radius * radius + 1e-9)
                dab.push_back(POINT{dx, dy});
        }
    return dab;
}

void StrokeSegment(HDC dc, POINT from, POINT to, bool lastPixel)
{
    DeviceContext *context = FindDC(dc);
    const GdiObject *pen = context ? FindGdiObject(context->pen) : nullptr;
    bool mono;
    Surface *surface = Target(dc, &mono);
    if (!pen || pen->hollow || !surface)
        return;
    if (pen->penWidth <= 1) {
        for (POINT p : SegmentPixels(from, to, lastPixel))
            Plot(surface, mono, p.x, p.y, pen->colour);
        return;
    }
    const std::vector<POINT> dab = Dab(pen->penWidth);
    for (POINT p : SegmentPixels(from, to, true))
        for (POINT d : dab)
            Plot(surface, mono, p.x + d.x, p.y + d.y, pen->colour);
}

HBRUSH ResolveBrush(HBRUSH brush)
{
    const auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value > 0 && value <= 31)  // COLOR_* + 1, as window classes and FillRect take it
        return SysColorBrush(static_cast<int>(value - 1));
    return brush;
}

std::string NameKey(HINSTANCE instance, LPCSTR name)
{
    return std::to_string(Arg(instance)) + "|" +
           (IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : Upper(name));
}

std::uint32_t Read32(const std::vector<BYTE> &bytes, std::size_t at)
{
    return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | static_cast<std::uint32_t>(bytes[at + 3]) << 24;
}

WORD Read16(const std::vector<BYTE> &bytes, std::size_t at)
{
    return static_cast<WORD>(bytes[at] | bytes[at + 1] << 8);
}

// ---- PNG ----------------------------------------------------------------------------

std::uint32_t Crc32(const std::string &bytes)
{
    static std::uint32_t table[256];
    static bool made = false;
    if (!made) {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        made = true;
    }
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char b : bytes)
        crc = table[(crc ^ b) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void Put32(std::string *out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out->push_back(static_cast<char>((value >> shift) & 0xFF));
}

void Chunk(std::string *png, const char *type, const std::string &data)
{
    Put32(png, static_cast<std::uint32_t>(data.size()));
    const std::string body = type + data;
    png->append(body);
    Put32(png, Crc32(body));
}

// zlib data in stored (uncompressed) deflate blocks.
std::string ZlibStored(const std::string &raw)
{
    std::string out = "\x78\x01";
    std::size_t at = 0;
    do {
        const std::size_t length = std::min<std::size_t>(raw.size() - at, 65535);
        out.push_back(at + length == raw.size() ? 1 : 0);
        out.push_back(static_cast<char>(length & 0xFF));
        out.push_back(static_cast<char>(length >> 8));
        out.push_back(static_cast<char>(~length & 0xFF));
        out.push_back(static_cast<char>((~length >> 8) & 0xFF));
        out.append(raw, at, length);
        at += length;
    } while (at < raw.size());
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    Put32(&out, (b << 16) | a);
    return out;
}

void Compose(HWND window, Picture *picture, LONG originX, LONG originY)
{
    std::vector<HWND> children = ChildWindows(window);
    std::reverse(children.begin(), children.end());  // bottom first
    for (HWND child : children) {
        const Window *c = FindWindowRecord(child);
        if (!(c->style & WS_VISIBLE))
            continue;
        const Picture own = WindowPicture(child);
        const LONG left = c->client.left - originX, top = c->client.top - originY;
        for (int y = 0; y < own.height; ++y)
            for (int x = 0; x < own.width; ++x)
                if (left + x >= 0 && top + y >= 0 && left + x < picture->width && top + y < picture->height)
                    picture->pixels[static_cast<std::size_t>(top + y) * picture->width + left + x] = own.At(x, y);
        Compose(child, picture, originX, originY);
    }
}

}  // namespace

GdiObject *FindGdiObject(HGDIOBJ object)
{
    std::size_t index;
    if (!HandleIndex(object, GDI_HANDLE_BASE, TheWorld().gdiObjects.size(), &index))
        return nullptr;
    return &TheWorld().gdiObjects[index];
}

DeviceContext *FindDC(HDC dc)
{
    std::size_t index;
    if (!HandleIndex(dc, DC_HANDLE_BASE, TheWorld().dcs.size(), &index) || !TheWorld().dcs[index].open)
        return nullptr;
    return &TheWorld().dcs[index];
}

HDC OpenWindowDC(HWND window, bool paint)
{
    DeviceContext dc;
    dc.window = window ? window : DesktopWindow();
    dc.paint = paint;
    return NewDC(dc);
}

void CloseDC(HDC dc)
{
    if (DeviceContext *context = FindDC(dc)) {
        if (GdiObject *bitmap = FindGdiObject(context->bitmap); bitmap && bitmap->selectedInto == dc)
            bitmap->selectedInto = nullptr;
        context->open = false;
    }
}

COLORREF SysColor(int index)
{
    return index >= 0 && index < static_cast<int>(std::size(SYSTEM_COLOURS)) ? SYSTEM_COLOURS[index] : 0;
}

HBRUSH SysColorBrush(int index)
{
    return reinterpret_cast<HBRUSH>(Stock(SYS_COLOUR_BRUSHES + index, Brush(SysColor(index))));
}

void FillSurfaceRect(HDC dc, RECT rect, COLORREF colour)
{
    FillArea(dc, rect.left, rect.top, rect.right, rect.bottom, colour);
}

void FrameSurfaceRect(HDC dc, RECT rect, COLORREF colour)
{
    if (rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    FillArea(dc, rect.left, rect.top, rect.right, rect.top + 1, colour);
    FillArea(dc, rect.left, rect.bottom - 1, rect.right, rect.bottom, colour);
    FillArea(dc, rect.left, rect.top, rect.left + 1, rect.bottom, colour);
    FillArea(dc, rect.right - 1, rect.top, rect.right, rect.bottom, colour);
}

void FillRectInternal(HDC dc, const RECT &rect, HBRUSH brush)
{
    const GdiObject *object = FindGdiObject(ResolveBrush(brush));
    if (!object || object->kind != GdiKind::Brush || object->hollow)
        return;
    // Upside down: the platform fills from the far edge + 1 to the near edge.
    const LONG left = rect.left <= rect.right ? rect.left : rect.right + 1;
    const LONG right = rect.left <= rect.right ? rect.right : rect.left + 1;
    const LONG top = rect.top <= rect.bottom ? rect.top : rect.bottom + 1;
    const LONG bottom = rect.top <= rect.bottom ? rect.bottom : rect.top + 1;
    FillArea(dc, left, top, right, bottom, object->colour);
}

void DrawImage(HDC dc, HGDIOBJ bitmap, int x, int y)
{
    const GdiObject *object = FindGdiObject(bitmap);
    bool mono;
    Surface *surface = Target(dc, &mono);
    if (!object || object->kind != GdiKind::Bitmap || !surface)
        return;
    const Surface &image = object->pixels;
    for (int row = 0; row < image.height; ++row)
        for (int column = 0; column < image.width; ++column)
            Plot(surface, mono, x + column, y + row, image.pixels[static_cast<std::size_t>(row) * image.width + column]);
}

void DrawIcon(HDC dc, HICON icon, int x, int y)
{
    std::size_t index;
    if (!HandleIndex(icon, CURSOR_HANDLE_BASE, TheWorld().cursors.size(), &index))
        return;
    const Cursor &c = TheWorld().cursors[index];
    bool mono;
    Surface *surface = Target(dc, &mono);
    if (!surface)
        return;
    for (int row = 0; row < c.height; ++row)
        for (int column = 0; column < c.width; ++column) {
            const std::size_t at = static_cast<std::size_t>(row) * c.width + column;
            if (!c.transparent[at])
                Plot(surface, mono, x + column, y + row, c.pixels[at]);
        }
}

bool DecodeDib(const std::vector<BYTE> &data, Surface *image, int *bitsPerPixel, int forcedHeight)
{
    if (data.size() < 40 || Read32(data, 0) < 40)
        return false;
    const std::uint32_t headerSize = Read32(data, 0);
    const auto width = static_cast<std::int32_t>(Read32(data, 4));
    const auto rawHeight = static_cast<std::int32_t>(Read32(data, 8));
    const WORD bits = Read16(data, 14);
    const std::uint32_t compression = Read32(data, 16);
    std::uint32_t colours = Read32(data, 32);
    if (width <= 0 || rawHeight == 0 || compression != 0 ||
        !(bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32))
        return false;
    const bool bottomUp = rawHeight > 0;
    const int height = forcedHeight ? forcedHeight : (bottomUp ? rawHeight : -rawHeight);
    if (bits <= 8 && colours == 0)
        colours = 1u << bits;
    if (bits > 8)
        colours = 0;
    const std::size_t table = headerSize, pixelsAt = table + 4 * static_cast<std::size_t>(colours);
    const std::size_t stride = ((static_cast<std::size_t>(width) * bits + 31) / 32) * 4;
    if (pixelsAt + stride * height > data.size())
        return false;
    auto paletteColour = [&](std::uint32_t i) -> COLORREF {
        if (i >= colours)
            return 0;
        const std::size_t at = table + 4 * i;
        return RGB(data[at + 2], data[at + 1], data[at]);
    };
    image->width = width;
    image->height = height;
    image->pixels.assign(static_cast<std::size_t>(width) * height, 0);
    for (int row = 0; row < height; ++row) {
        const std::size_t line = pixelsAt + stride * static_cast<std::size_t>(bottomUp ? height - 1 - row : row);
        for (int x = 0; x < width; ++x) {
            COLORREF colour = 0;
            switch (bits) {
            case 1:
                colour = paletteColour((data[line + x / 8] >> (7 - x % 8)) & 1);
                break;
            case 4:
                colour = paletteColour((data[line + x / 2] >> ((x % 2) ? 0 : 4)) & 0xF);
                break;
            case 8:
                colour = paletteColour(data[line + x]);
                break;
            default: {
                const std::size_t at = line + static_cast<std::size_t>(x) * (bits / 8);
                colour = RGB(data[at + 2], data[at + 1], data[at]);
            }
            }
            image->pixels[static_cast<std::size_t>(row) * width + x] = colour;
        }
    }
    *bitsPerPixel = bits;
    return true;
}

HBITMAP LoadBitmapInternal(HINSTANCE instance, LPCSTR name)
{
    const Module *module = FindModule(instance);
    const Resource *resource = module ? FindResourceEntry(*module, RT_BITMAP_ID, name) : nullptr;
    GdiObject bitmap{GdiKind::Bitmap};
    int bits;
    if (!resource || !DecodeDib(resource->data, &bitmap.pixels, &bits)) {
        SetError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HBITMAP>(NewObject(std::move(bitmap)));
}

// The group's image nearest the platform's 32 x 32 is used (the first of that size).
HICON LoadIconInternal(HINSTANCE instance, LPCSTR name)
{
    World &world = TheWorld();
    const std::string key = NameKey(instance, name);
    if (auto found = world.loadedIcons.find(key); found != world.loadedIcons.end())
        return MakeHandle<HICON>(CURSOR_HANDLE_BASE, found->second);
    Cursor icon{instance, IS_INTRESOURCE(name) ? "#" + std::to_string(reinterpret_cast<ULONG_PTR>(name)) : Upper(name),
                0, 0};
    if (instance) {
        const Module *module = FindModule(instance);
        const Resource *group = module ? FindResourceEntry(*module, RT_GROUP_ICON_ID, name) : nullptr;
        if (!group || group->data.size() < 6 + 14 || Read16(group->data, 4) == 0) {
            SetError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        const WORD count = Read16(group->data, 4);
        std::size_t chosen = 6;
        for (std::size_t i = 0; i < count && 6 + 14 * (i + 1) <= group->data.size(); ++i)
            if (group->data[6 + 14 * i] == 32) {
                chosen = 6 + 14 * i;
                break;
            }
        const Resource *image = FindResourceEntry(*module, RT_ICON_ID, MAKEINTRESOURCEA(Read16(group->data, chosen + 12)));
        Surface pixels;
        int bits;
        if (!image || image->data.size() < 40 ||
            !DecodeDib(image->data, &pixels, &bits, static_cast<int>(Read32(image->data, 8)) / 2)) {
            SetError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return nullptr;
        }
        // The AND mask follows the colour bits: 1 bit a pixel, rows from the bottom.
        const std::uint32_t colours = bits <= 8 ? (Read32(image->data, 32) ? Read32(image->data, 32) : 1u << bits) : 0;
        const std::size_t colourStride = ((static_cast<std::size_t>(pixels.width) * bits + 31) / 32) * 4;
        const std::size_t maskAt = Read32(image->data, 0) + 4 * colours + colourStride * pixels.height;
        const std::size_t maskStride = ((static_cast<std::size_t>(pixels.width) + 31) / 32) * 4;
        icon.width = pixels.width;
        icon.height = pixels.height;
        icon.pixels = pixels.pixels;
        icon.transparent.assign(pixels.pixels.size(), false);
        for (int row = 0; row < pixels.height; ++row)
            for (int x = 0; x < pixels.width; ++x) {
                const std::size_t at = maskAt + maskStride * static_cast<std::size_t>(pixels.height - 1 - row) + x / 8;
                if (at < image->data.size() && ((image->data[at] >> (7 - x % 8)) & 1))
                    icon.transparent[static_cast<std::size_t>(row) * pixels.width + x] = true;
            }
    }
    world.cursors.push_back(icon);
    world.loadedIcons[key] = world.cursors.size() - 1;
    return MakeHandle<HICON>(CURSOR_HANDLE_BASE, world.cursors.size() - 1);
}

// ---- Test controls --------------------------------------------------------------------

Picture WindowPicture(HWND window)
{
    const HDC dc = OpenWindowDC(window, false);
    const Surface *surface = Target(dc);
    CloseDC(dc);
    if (!surface)
        return Picture{};
    return Picture{surface->width, surface->height, surface->pixels};
}

Picture ComposedPicture(HWND window)
{
    Picture picture = WindowPicture(window);
    if (const Window *w = FindWindowRecord(window))
        Compose(window, &picture, w->client.left, w->client.top);
    return picture;
}

Picture BitmapPicture(HBITMAP bitmap)
{
    const GdiObject *object = FindGdiObject(bitmap);
    if (!object || object->kind != GdiKind::Bitmap)
        return Picture{};
    return Picture{object->pixels.width, object->pixels.height, object->pixels.pixels};
}

bool SavePicture(const Picture &picture, const std::string &path)
{
    std::string raw;
    raw.reserve(static_cast<std::size_t>(picture.height) * (1 + 3 * static_cast<std::size_t>(picture.width)));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back(0);
        for (int x = 0; x < picture.width; ++x) {
            const COLORREF c = picture.At(x, y);
            raw.push_back(static_cast<char>(GetRValue(c)));
            raw.push_back(static_cast<char>(GetGValue(c)));
            raw.push_back(static_cast<char>(GetBValue(c)));
        }
    }
    std::string header;
    Put32(&header, static_cast<std::uint32_t>(picture.width));
    Put32(&header, static_cast<std::uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    Chunk(&png, "IHDR", header);
    Chunk(&png, "IDAT", ZlibStored(raw));
    Chunk(&png, "IEND", "");
    std::ofstream out(path, std::ios::binary);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

HWND WindowOfDC(HDC dc)
{
    std::size_t index;
    if (!HandleIndex(dc, DC_HANDLE_BASE, TheWorld().dcs.size(), &index))
        return nullptr;
    return TheWorld().dcs[index].window;
}

std::map<std::pair<int, int>, int> SetPixelCounts(HWND window)
{
    std::map<std::pair<int, int>, int> counts;
    for (const Call &call : TheWorld().calls)
        if (call.api == "SetPixel" && call.args.size() >= 3 &&
            WindowOfDC(reinterpret_cast<HDC>(call.args[0])) == window)
            ++counts[{static_cast<int>(static_cast<std::intptr_t>(call.args[1])),
                      static_cast<int>(static_cast<std::intptr_t>(call.args[2]))}];
    return counts;
}

std::size_t GdiObjectsInUse()
{
    std::size_t count = 0;
    for (const GdiObject &object : TheWorld().gdiObjects)
        if (!object.stock && !object.deleted)
            ++count;
    return count;
}

std::size_t DCsInUse()
{
    std::size_t count = 0;
    for (const DeviceContext &dc : TheWorld().dcs)
        if (dc.open)
            ++count;
    return count;
}

}  // namespace winsim

using namespace winsim;

HGDIOBJ GetStockObject(int object)
{
    Log("GetStockObject", {static_cast<std::uintptr_t>(object)});
    return object == DEFAULT_BITMAP ? nullptr : StockObject(object);
}

HBRUSH CreateSolidBrush(COLORREF colour)
{
    Log("CreateSolidBrush", {colour});
    return reinterpret_cast<HBRUSH>(NewObject(Brush(colour & 0xFFFFFF)));
}

HPEN CreatePen(int style, int width, COLORREF colour)
{
    Log("CreatePen", {static_cast<std::uintptr_t>(style), static_cast<std::uintptr_t>(width), colour});
    return reinterpret_cast<HPEN>(NewObject(Pen(colour & 0xFFFFFF, std::max(width, 0), style)));
}

// Returns the object of the same kind selected before; bitmaps go only into memory
// device contexts.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object)
{
    Log("SelectObject", {Arg(dc), Arg(object)});
    DeviceContext *context = FindDC(dc);
    GdiObject *selected = FindGdiObject(object);
    if (!context || !selected || selected->deleted)
        return nullptr;
    HGDIOBJ *slot = nullptr;
    switch (selected->kind) {
    case GdiKind::Brush:
        slot = &context->brush;
        break;
    case GdiKind::Pen:
        slot = &context->pen;
        break;
    case GdiKind::Font:
        slot = &context->font;
        break;
    case GdiKind::Bitmap:
        if (!context->memory || (selected->selectedInto && selected->selectedInto != dc))
            return nullptr;
        slot = &context->bitmap;
        if (GdiObject *previous = FindGdiObject(*slot))
            previous->selectedInto = nullptr;
        selected->selectedInto = dc;
        break;
    }
    const HGDIOBJ previous = *slot;
    *slot = object;
    return previous;
}

BOOL DeleteObject(HGDIOBJ object)
{
    Log("DeleteObject", {Arg(object)});
    GdiObject *found = FindGdiObject(object);
    if (!found || found->deleted)
        return FALSE;
    if (!found->stock)
        found->deleted = true;
    return TRUE;
}

int GetObjectA(HGDIOBJ object, int size, LPVOID buffer)
{
    Log("GetObjectA", {Arg(object), static_cast<std::uintptr_t>(size)});
    const GdiObject *found = FindGdiObject(object);
    if (!found || found->deleted || found->kind != GdiKind::Bitmap)
        return 0;
    if (!buffer)
        return sizeof(BITMAP);
    if (size < static_cast<int>(sizeof(BITMAP)))
        return 0;
    const int width = found->pixels.width;
    const LONG widthBytes = found->bitsPixel == 1 ? ((width + 15) / 16) * 2 : width * 4;
    *static_cast<BITMAP *>(buffer) = BITMAP{0, width, found->pixels.height, widthBytes, 1,
                                            static_cast<WORD>(found->bitsPixel), nullptr};
    return sizeof(BITMAP);
}

HDC CreateCompatibleDC(HDC dc)
{
    Log("CreateCompatibleDC", {Arg(dc)});
    DeviceContext context;
    context.memory = true;
    context.bitmap = StockObject(DEFAULT_BITMAP);
    return NewDC(context);
}

BOOL DeleteDC(HDC dc)
{
    Log("DeleteDC", {Arg(dc)});
    DeviceContext *context = FindDC(dc);
    if (!context || !context->memory)
        return FALSE;
    CloseDC(dc);
    return TRUE;
}

// A null window gives the screen's device context (the desktop window's surface).
HDC GetDC(HWND window)
{
    Log("GetDC", {Arg(window)});
    if (window && !FindWindowRecord(window))
        return nullptr;
    return OpenWindowDC(window, false);
}

int ReleaseDC(HWND window, HDC dc)
{
    Log("ReleaseDC", {Arg(window), Arg(dc)});
    DeviceContext *context = FindDC(dc);
    if (!context || context->memory || context->paint)
        return 0;
    CloseDC(dc);
    return 1;
}

HBITMAP LoadBitmapA(HINSTANCE instance, LPCSTR name)
{
    Log("LoadBitmapA", {Arg(instance), IS_INTRESOURCE(name) ? reinterpret_cast<ULONG_PTR>(name) : 0},
        IS_INTRESOURCE(name) ? nullptr : name);
    return LoadBitmapInternal(instance, name);
}

COLORREF GetPixel(HDC dc, int x, int y)
{
    Log("GetPixel", {Arg(dc), static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y)});
    const Surface *surface = Target(dc);
    if (!surface || x < 0 || y < 0 || x >= surface->width || y >= surface->height)
        return CLR_INVALID;
    return surface->pixels[static_cast<std::size_t>(y) * surface->width + x];
}

COLORREF SetPixel(HDC dc, int x, int y, COLORREF colour)
{
    Log("SetPixel", {Arg(dc), static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y), colour});
    bool mono;
    Surface *surface = Target(dc, &mono);
    if (!surface)
        return CLR_INVALID;
    Plot(surface, mono, x, y, colour);
    return Stored(colour, mono);
}

int FillRect(HDC dc, const RECT *rect, HBRUSH brush)
{
    // Logged as {dc, brush, left, top, right, bottom}.
    Log("FillRect", {Arg(dc), Arg(brush), static_cast<std::uintptr_t>(rect ? rect->left : 0),
                     static_cast<std::uintptr_t>(rect ? rect->top : 0), static_cast<std::uintptr_t>(rect ? rect->right : 0),
                     static_cast<std::uintptr_t>(rect ? rect->bottom : 0)});
    if (!FindDC(dc) || !rect)
        return 0;
    FillRectInternal(dc, *rect, brush);
    return 1;
}

BOOL Rectangle(HDC dc, int left, int top, int right, int bottom)
{
    Log("Rectangle", {Arg(dc), static_cast<std::uintptr_t>(left), static_cast<std::uintptr_t>(top),
                      static_cast<std::uintptr_t>(right), static_cast<std::uintptr_t>(bottom)});
    DeviceContext *context = FindDC(dc);
    if (!context)
        return FALSE;
    if (left > right)
        std::swap(left, right);
    if (top > bottom)
        std::swap(top, bottom);
    const GdiObject *pen = FindGdiObject(context->pen);
    const GdiObject *brush = FindGdiObject(context->brush);
    const bool outline = pen && !pen->hollow;
    if (brush && !brush->hollow) {
        const int inset = outline ? 1 : 0;
        FillArea(dc, left + inset, top + inset, right - 1, bottom - 1, brush->colour);
    }
    if (outline && right - left >= 1 && bottom - top >= 1) {
        const POINT corners[] = {{left, top}, {right - 1, top}, {right - 1, bottom - 1}, {left, bottom - 1}};
        for (int i = 0; i < 4; ++i)
            StrokeSegment(dc, corners[i], corners[(i + 1) % 4], true);
    }
    return TRUE;
}

BOOL MoveToEx(HDC dc, int x, int y, POINT *previous)
{
    Log("MoveToEx", {Arg(dc), static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y)});
    DeviceContext *context = FindDC(dc);
    if (!context)
        return FALSE;
    if (previous)
        *previous = context->position;
    context->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC dc, int x, int y)
{
    Log("LineTo", {Arg(dc), static_cast<std::uintptr_t>(x), static_cast<std::uintptr_t>(y)});
    DeviceContext *context = FindDC(dc);
    if (!context)
        return FALSE;
    const POINT from = context->position;
    context->position = POINT{x, y};
    StrokeSegment(dc, from, POINT{x, y}, false);
    return TRUE;
}

DWORD GetSysColor(int index)
{
    Log("GetSysColor", {static_cast<std::uintptr_t>(index)});
    return SysColor(index);
}

HBRUSH GetSysColorBrush(int index)
{
    Log("GetSysColorBrush", {static_cast<std::uintptr_t>(index)});
    return SysColorBrush(index);
}

BOOL InflateRect(RECT *rect, int dx, int dy)
{
    Log("InflateRect", {static_cast<std::uintptr_t>(dx), static_cast<std::uintptr_t>(dy)});
    if (!rect)
        return FALSE;
    *rect = {rect->left - dx, rect->top - dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}

BOOL OffsetRect(RECT *rect, int dx, int dy)
{
    Log("OffsetRect", {static_cast<std::uintptr_t>(dx), static_cast<std::uintptr_t>(dy)});
    if (!rect)
        return FALSE;
    *rect = {rect->left + dx, rect->top + dy, rect->right + dx, rect->bottom + dy};
    return TRUE;
}
