#include "platform/Picture.h"

#include <SDL.h>

namespace qv {

std::string DecodeIndexedBmp(const std::vector<uint8_t>& bytes, IndexedPicture& out) {
    SDL_RWops* rw = SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size()));
    if (!rw) return SDL_GetError();
    SDL_Surface* s = SDL_LoadBMP_RW(rw, 1);
    if (!s) return SDL_GetError();
    struct Free {
        SDL_Surface* s;
        ~Free() { SDL_FreeSurface(s); }
    } free{s};
    const SDL_Palette* palette = s->format->palette;
    const int bits = s->format->BitsPerPixel;
    if (!palette || bits > 8) return "no palette: only pictures with a palette are read";
    if (SDL_MUSTLOCK(s) && SDL_LockSurface(s) != 0) return SDL_GetError();
    IndexedPicture picture;
    picture.width = s->w;
    picture.height = s->h;
    picture.pixels.resize(static_cast<size_t>(s->w) * static_cast<size_t>(s->h));
    const int perByte = 8 / bits;
    const int mask = (1 << bits) - 1;
    for (int y = 0; y < s->h; ++y) {
        const uint8_t* row =
            static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * s->pitch;
        uint8_t* to = &picture.pixels[static_cast<size_t>(y) * s->w];
        for (int x = 0; x < s->w; ++x) {
            // Pixels narrower than a byte lie with the leftmost in the high bits.
            const int shift = (perByte - 1 - x % perByte) * bits;
            to[x] = static_cast<uint8_t>((row[x / perByte] >> shift) & mask);
        }
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    for (int i = 0; i < palette->ncolors && i < 256; ++i)
        picture.palette[i] = {palette->colors[i].r, palette->colors[i].g, palette->colors[i].b};
    out = std::move(picture);
    return {};
}

}  // namespace qv
