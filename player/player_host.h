// What the statements act on besides the devices: the shown page and its window,
// boxes, and the programs of the system. The player's window implements it; tests
// stand in for it.
#pragma once

#include <functional>

#include <QString>
#include <QStringList>

namespace quom {

class PlayerHost {
  public:
    virtual ~PlayerHost() = default;

    // The folder of the page shown now; relative names are taken from it.
    virtual QString PageFolder() const = 0;

    // Replaces the shown page by the page file (an absolute path) in the same window.
    // Returns why it could not, or an empty text; on failure the shown page stays.
    virtual QString ShowPage(const QString& file) = 0;

    // A box with text and OK; closed is called once when it is dismissed. The window
    // stays responsive while it is open.
    virtual void ShowMessage(const QString& text, std::function<void()> closed) = 0;
    // The same for what went wrong in an action, with the error icon.
    virtual void ShowFailure(const QString& text, std::function<void()> closed) = 0;

    virtual void Minimize() = 0;
    virtual void Beep() = 0;
    // Ends the player.
    virtual void Exit() = 0;

    // Starts program with arguments in folder, without waiting for it. Returns why it
    // could not, or an empty text.
    virtual QString StartProgram(const QString& program, const QStringList& arguments,
                                 const QString& folder) = 0;
    // Opens a file that is no program with the system's application for it.
    virtual QString OpenDocument(const QString& file) = 0;
};

}  // namespace quom
