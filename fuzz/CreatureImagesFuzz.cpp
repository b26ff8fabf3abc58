// The creature pictures' section file: every section the input names is read
// against a folder of small pictures. A section may be refused (with its
// message); one that is read must answer every frame the drawing asks for
// without reading outside its pictures, and a refused one leaves the set it
// was read into as it was. There is no writer of the file in the game, so
// this target checks the reading alone.

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "RoundTrip.h"
#include "creatures/PlayerImages.h"
#include "media/DIBitmap.h"
#include "platform/Files.h"

namespace {

// The pictures a section may name: "a.bmp" (64 x 32), "b.bmp" (8 x 8) and
// "c.bmp" (320 x 480), and for the numbered form the stem "s" with its first
// frames.
std::string g_folder;

void WritePicture(const std::string& path, int width, int height) {
    CDIBitmap picture(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) picture.SetPixel(x, y, static_cast<uint8_t>(x + y));
    if (!picture.Save(path)) {
        std::fprintf(stderr, "cannot write %s\n", path.c_str());
        std::abort();
    }
}

// The names after "NODE " at the start of a line, every one.
std::vector<std::string> SectionNames(const std::string& text) {
    std::vector<std::string> names;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        const std::string line = text.substr(pos, end - pos);
        if (line.compare(0, 5, "NODE ") == 0) {
            std::string name = line.substr(5);
            while (!name.empty() && (name.back() == '\r' || name.back() == ' ')) name.pop_back();
            names.push_back(name);
        }
        pos = end + 1;
    }
    return names;
}

[[noreturn]] void Fail(const char* why, const std::string& name) {
    std::fprintf(stderr, "creature images, section \"%s\": %s\n", name.c_str(), why);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::Prepare();
    static fuzz::TempFile stem;  // its path, with a dash, prefixes the pictures
    g_folder = stem.Path() + "-";
    WritePicture(g_folder + "a.bmp", 64, 32);
    WritePicture(g_folder + "b.bmp", 8, 8);
    WritePicture(g_folder + "c.bmp", 320, 480);
    qv::MakeFolder(g_folder + "s");
    for (int n = 1; n <= 4; ++n) WritePicture(g_folder + "s/" + NumberedFrameName("s", n), 8, 8);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::MemoryBudget budget(size);
    const fuzz::Bytes input(data, data + size);
    fuzz::TempFile file(input);
    const std::string text(input.begin(), input.end());
    for (const std::string& name : SectionNames(text)) {
        std::string section;
        // The reader trims a name its own way; a name it does not find is
        // just not read.
        if (!FindImageNodeIn(file.Path(), name, section)) continue;
        CreatureImageSet set;
        if (!set.ParseIn(name, section, g_folder)) {
            if (!set.m_strName.empty() || set.FrameCount(0) != 0)
                Fail("a refusal changed the set", name);
            continue;
        }
        for (int32_t action = -1; action <= ImageAction::Count; ++action)
            for (int32_t facing = -1; facing <= 8; ++facing)
                for (int32_t step = -1; step <= set.FrameCount(action) + 1; ++step) {
                    int32_t asked = step;
                    CDDObject* frame = set.GetFrame(&action, &facing, &asked);
                    if (frame &&
                        (frame->m_iWhichSurf < 0 || frame->m_iWhichSurf >= frame->m_iSurfaceCnt))
                        Fail("a frame outside the picture is answered", name);
                }
    }
    return 0;
}
