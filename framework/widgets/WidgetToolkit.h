#pragma once
// Puts the widget toolkit into an application, which reaches it only through its interfaces: a
// WidgetManager replaces the null one, the dialogs the application makes are Dialogs that
// report to it, with its button labels and the given font, and the demo navigation dialogs are
// the widget-made DemoDialogs.
namespace Quoll
{
class Font;
class QuollAppBase;
class WidgetManager;

// Call before Init. The font (null: dialogs without text) is kept by pointer and copied into each
// dialog made, so it must outlive the application.
WidgetManager* InstallWidgetToolkit(QuollAppBase& app, const Font* dialogFont);
} // namespace Quoll
