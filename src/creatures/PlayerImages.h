#pragma once
// A creature's look: thirteen animations (actions), each an image cut into
// frames by facing and animation step, read from a section of the text file
// "PlayerImages.dat" in the game's "Images\" folder, and the four ways a frame
// of it is put on the screen (shaded by the light at the creature, recoloured
// with a human's own colours, ghostly, or see-through).
//
// A section reads: recoloured speed haste, width height, hot-x hot-y, then
// action entries until the end:
//   KEYWORD [stop pause, after STOP and FIGIT] layout directions frames length ...
// and by layout:
//   0: one file per step, each holding the step's facings left to right;
//   1: own width height hot-x hot-y, then one file per facing holding its steps;
//   2: own width height hot-x hot-y, then a stem: one numbered file per frame,
//      Images\<stem>\<stem>_0001.bmp holding frame 0, _0002 frame 1 ...
//      where frame = facing column + directions x step;
//   3: the keyword of another action whose images this one shows.
// WOUNDED (the hit flash) is always one file: a strip of its frames, whatever
// facing the creature has.
//
// Every value is checked where it is read: a bad one is reported naming the
// file and the section, and the set is left as it was.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/DDObjects.h"
#include "platform/Geometry.h"
#include "platform/Surface.h"

class Player;

// The file of the looks' sections, in the game's "Images\" folder.
inline constexpr const char* kCreatureImageFile = "PlayerImages.dat";

// The actions of a look; their names are the section's keywords.
struct ImageAction {
    static constexpr int32_t MOVE = 0;
    static constexpr int32_t MOVEBOW = 1;
    static constexpr int32_t RUN = 2;
    static constexpr int32_t STOP = 3;
    static constexpr int32_t FIGIT = 4;
    static constexpr int32_t ATTACK1 = 5;
    static constexpr int32_t ATTACK2 = 6;
    static constexpr int32_t ATTACK3 = 7;
    static constexpr int32_t ATTACK4 = 8;
    static constexpr int32_t ATTACK5 = 9;
    static constexpr int32_t WOUNDED = 10;
    static constexpr int32_t CAST = 11;
    static constexpr int32_t DEAD = 12;
    static constexpr int32_t Count = 13;

    // The keyword of an action, or null outside 0..12.
    static const char* Name(int32_t action);
    // The action of a keyword, or -1.
    static int32_t FromName(const std::string& keyword);
};

// A human's three colours, each (red, green, blue) in the screen format's
// units, added to (or multiplying) the parts of the marked pixels.
struct LookColours {
    std::array<int32_t, 3> shirt{};
    std::array<int32_t, 3> pants{};
    std::array<int32_t, 3> hair{};
};

class CreatureImageSet {
public:
    // Limits of what a section may ask for. The work image the forms build
    // their frames in is made taller than kMaxHeight, so a frame always fits.
    static constexpr int kMaxWidth = 320;
    static constexpr int kMaxHeight = 240;
    static constexpr int kWorkWidth = 320;
    static constexpr int kWorkHeight = 300;
    static constexpr int32_t kMaxFrames = 64;       // steps of one action
    static constexpr int32_t kMaxLength = 1000000;  // game time of one run of an action
    static constexpr int32_t kMaxHotSpot = 4096;    // either way from the frame's corner
    static constexpr int32_t kFacings = 8;
    // The pixels of all the frames of a look together (each frame is made a
    // picture of its own): some eight times what the largest look the game
    // ships takes.
    static constexpr int64_t kMaxSetPixels = int64_t{1} << 23;
    // The pixels of all the pictures a look reads, each read and counted once
    // however often the section names it: some eight times the pictures of
    // the largest look the game ships (1068960 pixels).
    static constexpr int64_t kMaxSetPicturePixels = int64_t{1} << 23;

    CreatureImageSet();
    ~CreatureImageSet();
    CreatureImageSet(const CreatureImageSet&) = delete;
    CreatureImageSet& operator=(const CreatureImageSet&) = delete;

    int IsNamed(const std::string& name) const { return m_strName == name ? 1 : 0; }
    // Fills the set from a section's text, frame files taken from the game's
    // "Images\" folder. 1 on success; 0 after a message, the set unchanged.
    int Parse(const std::string& name, const std::string& text);
    // The same with frame files from `folder` (a path ending in a separator).
    int ParseIn(const std::string& name, const std::string& text, const std::string& folder);

    // The image to draw for an action, a facing (0..7) and a step, with that
    // frame selected; null when there is none. A step past the action's last
    // is moved back to the last one (the caller's value too).
    CDDObject* GetFrame(const int32_t* action, const int32_t* facing, int32_t* step);

    // Starts an action on a creature: its first frame now, each next one an
    // ANIMATE event later (STOP: one ANIMATE after the stop pause). A null or
    // 0 start is the current game time; a null duration is the action's own
    // length. 0 when the set has no frames for the action, nothing changed.
    static int StartAction(CreatureImageSet* set, Player* creature, int32_t action,
                           const int32_t* start, const int32_t* duration);

    // ---- The drawing forms. Each builds the selected frame of `image` (one
    // of this set's) in the work image; DrawWorkImage then puts it on the
    // screen. `light` is the brightness at the creature, 0 (black) to 128.
    int DrawShaded(CDDObject* image, int light);
    int DrawRecoloured(CDDObject* image, int light, const LookColours& colours);
    // Ghostly: applied to the work image after one of the two above; some
    // pixels drop out at random and the rest fade toward a pale blue.
    int DrawEthereal();
    // Puts the work image on the surface at the screen point with the image's
    // hot spot, clipped to the view; a mark colour (palette index, 0 none)
    // outlines the figure.
    int DrawWorkImage(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                      const CDDObject* image, int markColour);
    // The same, half see-through: each pixel drawn is the mean of the
    // figure's and what lies under it.
    int DrawInvisible(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                      const CDDObject* image, int markColour);

    // The image of an action (its own, not a borrowed one), or null.
    CDDObject* Image(int32_t action);
    int32_t FrameCount(int32_t action) const;
    int32_t Directions(int32_t action) const;
    int32_t Length(int32_t action) const;
    int32_t Borrowed(int32_t action) const;

    // The work image and the size of the frame last built in it.
    static qv::Surface& WorkImage();
    static int WorkWidth() { return s_iWorkWidth; }
    static int WorkHeight() { return s_iWorkHeight; }
    static uint16_t WorkKey() { return s_uWorkKey; }

    // One pixel of the recoloured form: the pixel of `row` of a frame
    // `height` rows high, mapped with the colours and shaded by light. The
    // transparent colour `key` never comes out.
    static uint16_t RecolourPixel(uint16_t pixel, int row, int height, const LookColours& colours,
                                  int light, uint16_t key);
    // One pixel of the shaded form.
    static uint16_t ShadePixel(uint16_t pixel, int light, uint16_t key);

    // The file that holds the sections, in the game's "Images\" folder.
    static std::string s_strImageFile;

    int32_t m_iStopPause = 0;
    int32_t m_iSpeed = -1;
    double m_dHasteFactor = -1.0;
    std::string m_strName;
    int32_t m_bRecoloured = 0;
    int32_t m_iWidth = 0;  // the set's frame size and hot spot
    int32_t m_iHeight = 0;
    int32_t m_iHotX = 0;
    int32_t m_iHotY = 0;

private:
    // A frame's pixels as small indices into its few colours, so that a form
    // maps each colour once and then only looks pixels up. Index 0 is the
    // transparent colour. Empty when the frame has more than 255 colours.
    struct Plane {
        std::vector<uint8_t> index;
        std::vector<uint16_t> colours;
        uint16_t key = 0;
        int width = 0;
        int height = 0;
    };
    struct Action {
        std::unique_ptr<CDDObject> image = std::make_unique<CDDObject>();
        int32_t frames = 0;
        int32_t directions = 8;
        int32_t length = 0;
        int32_t borrowed = -1;
        std::vector<Plane> planes;  // one per frame of the image
    };

    void Swap(CreatureImageSet& other);
    const Plane* FindPlane(const CDDObject* image) const;
    void BuildPlanes(Action& action);
    int BuildInWork(const CDDObject* image, int light, const LookColours* colours);
    int PutWork(qv::Surface* surface, qv::Point screen, const qv::Rect& view,
                const CDDObject* image, int markColour, bool translucent);

    std::array<Action, ImageAction::Count> m_Actions;

    static int s_iWorkWidth;
    static int s_iWorkHeight;
    static uint16_t s_uWorkKey;
};

// Finds the section `name` of "PlayerImages.dat" in the game's "Images\"
// folder: 1 with its lines joined by spaces in text, 0 when there is none
// (or no file).
int FindImageNode(const std::string& name, std::string& text);
// The same in the file at `path`.
int FindImageNodeIn(const std::string& path, const std::string& name, std::string& text);
// The name of numbered frame file n (1..9999) of a stem: stem_0007.bmp.
std::string NumberedFrameName(const std::string& stem, int n);
// The game's "Images\" folder.
std::string CreatureImageFolder();
