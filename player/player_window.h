// The player's window: the shown page as its whole client area, sized to the page.
// It carries out the items' actions through the runner and is the statements' host.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "action_runner.h"
#include "page_view.h"
#include "player_host.h"

namespace quom {

inline constexpr const char* kPlayerTitle = "Quom Player";

class PlayerWindow final : public QWidget, public PlayerHost {
    Q_OBJECT
  public:
    explicit PlayerWindow(Devices devices);

    PageView* view() const { return view_; }
    ActionRunner& runner() { return runner_; }

    // PlayerHost
    QString PageFolder() const override { return page_folder_; }
    QString ShowPage(const QString& file) override;
    void ShowMessage(const QString& text, std::function<void()> closed) override;
    void ShowFailure(const QString& text, std::function<void()> closed) override;
    void Minimize() override;
    void Beep() override;
    void Exit() override;
    QString StartProgram(const QString& program, const QStringList& arguments,
                         const QString& folder) override;
    QString OpenDocument(const QString& file) override;

  private:
    void ShowBox(int icon, const QString& text, std::function<void()> closed);

    ActionRunner runner_;
    QPointer<PageView> view_;
    QString page_folder_;
};

}  // namespace quom
