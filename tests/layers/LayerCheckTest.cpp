// The include-layer check that scripts/check runs: the project's own sources
// pass, and a small tree of sources that break the rules is reported file by
// file and include by include.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>

#include "support/TestPaths.h"

namespace fs = std::filesystem;

namespace {

struct CheckRun {
    int status;
    std::string output;
};

CheckRun CheckLayers(const std::string& args) {
    std::string command = test_support::SourceFolder() + "/scripts/check-layers " + args + " 2>&1";
    CheckRun run{-1, {}};
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return run;
    char buffer[512];
    while (size_t n = fread(buffer, 1, sizeof buffer, pipe)) run.output.append(buffer, n);
    int status = pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

class LayerCheck : public ::testing::Test {
protected:
    LayerCheck() {
        dir = fs::temp_directory_path() / ("qv-layers-" + std::to_string(getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir / "src");
    }
    ~LayerCheck() override { fs::remove_all(dir); }

    void Write(const std::string& rel, const std::string& text) {
        fs::path p = dir / rel;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << text;
    }
    CheckRun Check() {
        return CheckLayers((dir / "src").string() + " " + (dir / "debts").string());
    }

    fs::path dir;
};

TEST(LayerCheckOfTheGame, TheSourcesKeepTheirLayers) {
    CheckRun run = CheckLayers("");
    EXPECT_EQ(run.status, 0) << run.output;
}

TEST_F(LayerCheck, IncludesDownwardAndAlongPass) {
    Write("src/platform/Files.h", "#include <string>\n#include \"platform/Archive.h\"\n");
    Write("src/media/DDWnd.cpp", "#include \"media/DDObjects.h\"\n#include \"platform/Files.h\"\n");
    Write("src/world/Map.cpp", "#include \"media/DDObjects.h\"\n#include \"world/Object.h\"\n");
    Write("src/creatures/Player.cpp",
          "#include \"items/Bag.h\"\n#include \"events/GameEvent.h\"\n");
    Write("src/items/Bag.cpp",
          "#include \"creatures/Player.h\"\n#include \"structures/Walls.h\"\n");
    Write("src/windows/Options.cpp", "#include \"creatures/Player.h\"\n");
    Write("src/shell/MainFrm.cpp", "#include \"windows/Options.h\"\n");
    Write("src/editor/Tools.cpp", "#include \"shell/MainFrm.h\"\n");
    Write("src/main.cpp", "#include \"editor/Tools.h\"\n");
    CheckRun run = Check();
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");
}

TEST_F(LayerCheck, AnUpwardIncludeIsReportedWithItsFileAndLine) {
    Write("src/world/Group.cpp",
          "#include \"world/Group.h\"\n\n#include \"shell/MainFrm.h\"\n#include "
          "\"creatures/Player.h\"");
    Write("src/media/DSound.cpp", "#include \"media/DSound.h\"\n#include \"world/Global.h\"\n");
    Write("src/platform/Window.cpp", "#include <SDL.h>\n#include \"media/DDWnd.h\"\n");
    Write("src/structures/Walls.cpp", "#include <SDL2/SDL.h>\n#include \"windows/Talk.h\"\n");
    Write("src/shell/MainFrm.cpp", "#include \"editor/Tools.h\"\n");
    CheckRun run = Check();
    EXPECT_EQ(run.status, 1);
    const char* expected[] = {
        "src/world/Group.cpp:3: includes \"shell/MainFrm.h\": world may not include shell",
        // The last line of a file without a newline is read too.
        "src/world/Group.cpp:4: includes \"creatures/Player.h\": world may not include creatures",
        "src/media/DSound.cpp:2: includes \"world/Global.h\": media may not include world",
        "src/platform/Window.cpp:2: includes \"media/DDWnd.h\": platform may not include media",
        "src/structures/Walls.cpp:1: includes <SDL2/SDL.h>: SDL is reached only through platform/",
        // clang-format off
        "src/structures/Walls.cpp:2: includes \"windows/Talk.h\": structures may not include windows",
        // clang-format on
        "src/shell/MainFrm.cpp:1: includes \"editor/Tools.h\": shell may not include editor",
    };
    for (const char* line : expected) EXPECT_NE(run.output.find(line), std::string::npos) << line;
    EXPECT_EQ(run.output.find("platform/Window.cpp:1"), std::string::npos) << "SDL in platform/";
}

TEST_F(LayerCheck, TheMusicSynthesiserIsReachedOnlyThroughThePlatform) {
    Write("src/platform/Midi.cpp", "#include <fluidsynth.h>\n");
    Write("src/media/DSound.cpp", "#include \"media/DSound.h\"\n#include <fluidsynth/synth.h>\n");
    Write("src/shell/MainFrmSound.cpp", "#include <fluidsynth.h>\n");
    CheckRun run = Check();
    EXPECT_EQ(run.status, 1);
    for (std::string line : {"src/media/DSound.cpp:2: includes <fluidsynth/synth.h>",
                             "src/shell/MainFrmSound.cpp:1: includes <fluidsynth.h>"}) {
        line += ": FluidSynth is reached only through platform/";
        EXPECT_NE(run.output.find(line), std::string::npos) << line;
    }
    EXPECT_EQ(run.output.find("platform/Midi.cpp"), std::string::npos) << "FluidSynth in platform/";
}

TEST_F(LayerCheck, TheMovieLibrariesAreReachedOnlyThroughThePlatform) {
    const std::pair<const char*, bool> rows[] = {{"src/platform/Movie.cpp", false},
                                                 {"src/media/AviPlayer.cpp", true},
                                                 {"src/shell/MainFrmStart.cpp", true}};
    for (const auto& [file, refused] : rows) {
        SCOPED_TRACE(file);
        fs::remove_all(dir / "src");
        Write(file, "#include <libavformat/avformat.h>\n#include <libswscale/swscale.h>\n");
        CheckRun run = Check();
        EXPECT_EQ(run.status, refused ? 1 : 0) << run.output;
        EXPECT_EQ(run.output.find(std::string(file) +
                                  ":2: includes <libswscale/swscale.h>: FFmpeg is reached only "
                                  "through platform/") != std::string::npos,
                  refused)
            << run.output;
    }
}

TEST_F(LayerCheck, TheWidgetToolkitIsReachedOnlyFromTheEditor) {
    struct Row {
        const char* rule;
        const char* file;
        const char* text;
        bool refused;
    };
    const Row rows[] = {
        {"the editor may", "src/editor/EditorGui.cpp", "#include <imgui.h>\n", false},
        {"the editor may reach its string fields", "src/editor/Fields.cpp",
         "#include <imgui_stdlib.h>\n", false},
        {"the platform may not", "src/platform/Raster.cpp", "#include <imgui.h>\n", true},
        {"the shell may not", "src/shell/MainFrm.cpp", "#include \"imgui.h\"\n", true},
        {"nor its text editing parts", "src/windows/Talk.cpp", "#include <imstb_textedit.h>\n",
         true},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.rule);
        fs::remove_all(dir / "src");
        Write(r.file, r.text);
        CheckRun run = Check();
        EXPECT_EQ(run.status, r.refused ? 1 : 0) << run.output;
        EXPECT_EQ(run.output.find("Dear ImGui is reached only from editor/") != std::string::npos,
                  r.refused)
            << run.output;
    }
}

TEST_F(LayerCheck, PlayStandsAboveTheGamesObjectsAndBelowTheWindows) {
    Write("src/play/Play.cpp",
          "#include \"creatures/Player.h\"\n#include \"events/GameEvent.h\"\n#include "
          "\"world/World.h\"\n");
    Write("src/windows/Options.cpp", "#include \"play/Play.h\"\n");
    Write("src/shell/MainFrm.cpp", "#include \"play/Order.h\"\n");
    CheckRun run = Check();
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(run.output, "");

    Write("src/creatures/Player.cpp", "#include \"play/Play.h\"\n");
    Write("src/play/Order.cpp", "#include \"play/Order.h\"\n#include \"windows/Options.h\"\n");
    run = Check();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("src/creatures/Player.cpp:1: includes \"play/Play.h\": creatures may "
                              "not include play"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("src/play/Order.cpp:2: includes \"windows/Options.h\": play may not "
                              "include windows"),
              std::string::npos)
        << run.output;
}

TEST_F(LayerCheck, ListedDebtsAreToleratedAndStaleOnesReported) {
    Write("src/world/Map.cpp", "#include \"structures/Walls.h\"\n");
    Write("debts", "# a comment\nworld/Map.cpp structures/Walls.h\n");
    CheckRun run = Check();
    EXPECT_EQ(run.status, 0) << run.output;
    Write("debts", "world/Map.cpp structures/Walls.h\nworld/Object.cpp creatures/Player.h\n");
    run = Check();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("\"world/Object.cpp creatures/Player.h\" no longer crosses a layer"),
              std::string::npos)
        << run.output;
}

TEST_F(LayerCheck, AFolderWithoutALayerIsReported) {
    Write("src/sounds/Mixer.cpp", "#include \"platform/Audio.h\"\n");
    CheckRun run = Check();
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.output.find("src/sounds/Mixer.cpp: the folder sounds has no layer"),
              std::string::npos)
        << run.output;
}

}  // namespace
