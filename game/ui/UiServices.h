#pragma once
// UiServices: what the game's widgets ask of the application around them, on top of the scene's
// services (which play the sounds): texts by key, resource groups, fonts, the mouse cursor, and the
// widget manager and dialog registry that screens and dialogs put themselves into. The game
// application implements it by forwarding; tests use a recording fake.
//
// The widgets reach it through one program-wide pointer (SetUiServices), set by the application
// at start-up and by tests around each case.
#include "game/shell/SceneServices.h"

#include <string>

namespace Quoll
{
class AppDialog;
class Font;
class Widget;
} // namespace Quoll

class UiServices : public SceneServices
{
public:
    // --- Texts -----------------------------------------------------------------------------------
    // The localised text of a key in the current language; empty or the key itself when it has none.
    [[nodiscard]] virtual std::wstring GetText(const std::string& key) = 0;

    // --- Groups, fonts and the cursor (sounds play through the scene's services) ----------------
    // Loads a resource group and binds its ids; false when it failed (the application logs why).
    virtual bool LoadResourceGroup(const std::string& group) = 0;
    virtual void UnloadResourceGroup(const std::string& group) = 0;
    // The font of a resource name such as "FONT_FNT2"; null when it is not loaded.
    [[nodiscard]] virtual Quoll::Font* GetFontNamed(const std::string& name) = 0;
    // 0 the arrow, 1 the pointing hand, 2 the dragging hand.
    virtual void SetCursor(int cursor) = 0;
    // The image that a loaded group holds under a name without a generated id; null when none
    // is loaded. The default asks the application's resource manager.
    [[nodiscard]] virtual Quoll::Image* GetUnnumberedImage(const std::string& name);

    // --- The widget tree --------------------------------------------------------------------------
    virtual void AddWidget(Quoll::Widget* widget) = 0;
    virtual void RemoveWidget(Quoll::Widget* widget) = 0;
    virtual void SetFocus(Quoll::Widget* widget) = 0;
    // Destroys the widget once the update that asked for it has unwound.
    virtual void DeleteWidgetLater(Quoll::Widget* widget) = 0;

    // --- Dialogs by id (one per id) ---------------------------------------------------------------
    [[nodiscard]] virtual Quoll::AppDialog* GetDialog(int id) = 0;
    // Registers the dialog under its id, puts it into the tree and opens it modally when modal.
    // The id must be free.
    virtual void AddDialogObject(Quoll::AppDialog* dialog) = 0;
    // Takes the dialog of the id out of the registry and the tree and ends its modal state;
    // deletes it later when asked to.
    virtual void KillDialog(int id, bool deleteWidget) = 0;

    // --- Helpers over the above -------------------------------------------------------------------
    // The sound of a resource name, at volume 1 and pan 0.
    void PlaySoundNamed(const std::string& name) { PlaySound(GetResourceIdByName(name), 1.0f, 0.0f); }
    // The image of a resource name, numbered or not; null when it is not loaded.
    [[nodiscard]] Quoll::Image* GetImageNamed(const std::string& name);
};

// The program-wide services of the game's widgets; null while none are set.
[[nodiscard]] UiServices* GetUiServices();
void SetUiServices(UiServices* services);
// The services, which must be set.
[[nodiscard]] UiServices& Ui();
