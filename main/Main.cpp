// The game's executable. It starts the crash catcher and the application object with the
// game's identity (settings under Nordwick\PetriGlowSaga, a 1024 x 768 window) and runs the
// main loop until the window is closed. The game's own screens arrive with the game shell;
// until then the window shows an empty screen.
#include "framework/app/BlockFont.h"
#include "framework/app/QuollAppBase.h"
#include "framework/crash/CrashCatcher.h"
#include "framework/rasteriser/TriangleSpanTable.h"
#include "framework/resources/ResourceManager.h"
#include "framework/widgets/ImageFontFactory.h"
#include "framework/widgets/SysFont.h"
#include "framework/widgets/WidgetToolkit.h"

#include <cstdio>
#include <memory>
#include <string>

namespace
{
class PetriGlowApp final : public Quoll::QuollAppBase
{
public:
    PetriGlowApp()
    {
        mCompanyName = "Nordwick";
        mProdName = "PetriGlowSaga";
        mRegKey = "Nordwick\\PetriGlowSaga";
        mTitle = L"PetriGlow Saga";
        mWidth = 1024;
        mHeight = 768;
        mBitsPerPixel = 32;
    }
};
} // namespace

int main(int argc, char** argv)
{
    int exitCode = 0;
    if (Quoll::CrashCatcher::RunReporterIfRequested(argc, argv, exitCode))
        return exitCode;
    Quoll::CrashCatcher::Install();
    Quoll::InitTriangleSpanTable();

    std::fprintf(stderr, "PetriGlow Saga: the framework runs; the game's screens are not built yet, "
                         "so the window stays empty. Close it to quit.\n");
    {
        // Fonts come from the widget toolkit: system fonts for the overlays, bitmap fonts for
        // the manifest's "Font" resources (the factory outlives the resource manager).
        Quoll::ImageFontFactory fonts;
        // The framework's own dialogs write in a system font (blocks when none can be read); it
        // outlives the application, whose dialog factory copies it.
        static const Quoll::BlockFont fallbackFont;
        std::unique_ptr<Quoll::SysFont> dialogFont;
        PetriGlowApp app;
        app.SetSystemFontHook(&Quoll::SysFont::MakeForApplication);
        app.mResourceManager->SetFontFactory(&fonts);
        std::string fontError;
        dialogFont = Quoll::SysFont::Create(&app, "Tahoma", 10, 0, fontError);
        Quoll::InstallWidgetToolkit(app, dialogFont ? static_cast<const Quoll::Font*>(dialogFont.get()) : &fallbackFont);
        app.Init();
        app.Start();
    }
    return 0;
}
