// The intro movie: played before the options window when the game folder has
// one, each picture shown on the frame's surfaces, stopped by any key.

#include <cstdio>
#include <memory>

#include "media/AviPlayer.h"
#include "media/DirectDraw.h"
#include "platform/Files.h"
#include "platform/MessageLoop.h"
#include "shell/MainFrm.h"

void CMainFrame::OnPlayIntro() {
    m_Start.TraceStart("intro");
    m_iStage = 1;
    m_Start.m_bIntroStopAsked = false;
    // The movie's name is put after the game folder as it stands.
    const std::string file = m_Play.Saves().GameFolderPath(kIntroMovieName);
    if (qv::FileExists(file)) PlayIntroMovie(file);
    m_iStage = 2;
    qv::MessageLoop::Instance().PostCommand(kCmdIntroDone);
}

void CMainFrame::PlayIntroMovie(const std::string& file) {
    auto player = std::make_unique<CAviSoundPlayer>(file);
    player->m_Present = [this](const qv::Surface& frame) { PresentMovieFrame(frame); };
    if (!player->Start()) {
        m_Start.TraceStart("intro movie refused");
        std::fprintf(stderr, "%s\n", player->GetError().c_str());
        return;
    }
    m_Start.TraceStart("intro movie");
    m_Start.m_pAviPlayer = std::move(player);
    m_Start.m_bIntroPlaying = true;
    // The movie's pictures come when their time on the loop's clock has come;
    // meanwhile input is delivered, and a key ends the player (OnKeyDown).
    qv::MessageLoop& loop = qv::MessageLoop::Instance();
    qv::Clock& clock = loop.GetClock();
    while (CAviPlayer* playing = m_Start.m_pAviPlayer.get()) {
        const uint32_t wait = playing->Update();
        if (!playing->IsReady() || loop.IsQuitting()) break;
        const uint32_t before = clock.Now();
        if (loop.PumpOne(wait)) continue;
        const uint32_t waited = clock.Now() - before;
        if (waited < wait) clock.Sleep(wait - waited);
    }
    if (m_Start.m_pAviPlayer && !m_Start.m_pAviPlayer->GetError().empty())
        std::fprintf(stderr, "%s\n", m_Start.m_pAviPlayer->GetError().c_str());
    m_Start.m_pAviPlayer.reset();
    m_Start.m_bIntroPlaying = false;
}

void CMainFrame::StopIntroMovie() {
    if (!m_Start.m_pAviPlayer) return;
    m_Start.TraceStart("intro stopped");
    m_Start.m_pAviPlayer->Stop();
    Pause(kIntroStopPauseMs);
    m_Start.m_pAviPlayer.reset();
}

void CMainFrame::PresentMovieFrame(const qv::Surface& frame) {
    if (!m_Start.m_pAviPlayer || !m_pBackBuffer || !m_pPrimary) return;
    if (m_pBackBuffer->Blt({0, 0}, frame, frame.Bounds()) != qv::kDrawOk) return;
    if (m_bWindowed) {
        if (m_pPrimary->Blt({0, 0}, *m_pBackBuffer, frame.Bounds()) == qv::kDrawOk)
            PresentScreen(frame.Bounds());
        return;
    }
    // A lost page is restored and the picture dropped.
    if (FlipSurfaces() == qv::kDrawSurfaceLost) m_pPrimary->Restore();
}
