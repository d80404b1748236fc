#include "tform1.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMouseEvent>
#include <QResizeEvent>

#include "action_table.h"
#include "art.h"
#include "bevel.h"
#include "editor_fonts.h"
#include "model_text.h"
#include "mouse_forwarder.h"
#include "window_placement.h"

namespace quom {

namespace {

// Client area and regions of the main window, in pixels.
constexpr int kClientWidth = 560;
constexpr int kClientHeight = 394;
constexpr int kToolbarHeight = 49;
constexpr int kRightPanelWidth = 147;
constexpr int kLeftColumnWidth = 177;
constexpr int kCommandWidth = 65;
constexpr int kCommandHeight = 41;
constexpr int kCommandTop = 8;
constexpr int kColumnSeparatorLeft = 176;
constexpr int kColumnSeparatorTop = 96;
constexpr int kPaletteTop = 64;
constexpr int kPanelRowHeight = 17;

constexpr const char* kPageFilter = "Visual Quom++ Page|*.qmx";
constexpr const char* kPictureFilter =
    "All (*.bmp;*.ico;*.emf;*.wmf)|*.bmp;*.ico;*.emf;*.wmf|Bitmaps (*.bmp)|*.bmp|"
    "Icons (*.ico)|*.ico|Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf";
// The property panel is refreshed this long after a selection.
constexpr int kRefreshDelayMs = 100;

// A region that takes every press made on it, so that presses never reach the main
// window's own background handling.
class PressSink final : public QWidget {
  public:
    explicit PressSink(QWidget* parent) : QWidget(parent) { setCursor(Qt::ArrowCursor); }

  protected:
    void mousePressEvent(QMouseEvent* event) override { event->accept(); }
    void mouseReleaseEvent(QMouseEvent* event) override { event->accept(); }
    void mouseMoveEvent(QMouseEvent* event) override { event->accept(); }
};

}  // namespace

TForm1::TForm1(Dialogs& dialogs, ProgramFolderSource program_folder)
    : QWidget(nullptr),
      dialogs_(dialogs),
      program_folder_(std::move(program_folder)),
      palette_(this) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(QString::fromLatin1(kProgramTitle));
    setFont(WindowFont());
    setCursor(Qt::SizeAllCursor);
    resize(kClientWidth, kClientHeight);

    open_dialog_ = {QStringLiteral("Open Page"), QString::fromLatin1(kPageFilter), QString()};
    save_dialog_ = {QStringLiteral("Save Page"), QString::fromLatin1(kPageFilter), QString()};
    po_ = {QStringLiteral("Select Picture"), QString::fromLatin1(kPictureFilter), QString(), true};

    timer1_ = new QTimer(this);
    timer1_->setObjectName(QStringLiteral("Timer1"));
    timer1_->setInterval(kRefreshDelayMs);
    connect(timer1_, &QTimer::timeout, this, &TForm1::Timer1Timer);

    BuildToolbar();
    BuildLeftColumn();
    BuildPropertyPanel();
    panel1_ = new DesignSurface(page_, this);
    ConnectPalette();
    WatchSurfaceMouse();
    LayoutRegions(kClientWidth, kClientHeight);
}

void TForm1::BuildToolbar() {
    panel2_ = new PressSink(this);
    panel2_->setObjectName(QStringLiteral("Panel2"));
    AddToolbarButton(panel2_, QStringLiteral("EmptyButton1"), QStringLiteral("&New"),
                     QStringLiteral("new"), 8, &TForm1::EmptyButton1Click);
    AddToolbarButton(panel2_, QStringLiteral("EmptyButton2"), QStringLiteral("&Open"),
                     QStringLiteral("open"), 72, &TForm1::EmptyButton2Click);
    AddToolbarButton(panel2_, QStringLiteral("EmptyButton3"), QStringLiteral("&Save"),
                     QStringLiteral("save"), 136, &TForm1::EmptyButton3Click);
    AddToolbarButton(panel2_, QStringLiteral("SpeedButton2"), QStringLiteral("&Test"),
                     QStringLiteral("test"), 200, &TForm1::SpeedButton2Click);
    AddToolbarButton(panel2_, QStringLiteral("SpeedButton3"), QStringLiteral("&Help"),
                     QStringLiteral("help"), 264, &TForm1::SpeedButton3Click);
    AddToolbarButton(panel2_, QStringLiteral("SpeedButton4"), QStringLiteral("&Compile"),
                     QStringLiteral("compile"), 328, &TForm1::SpeedButton4Click);

    panel3_ = new PressSink(panel2_);
    panel3_->setObjectName(QStringLiteral("Panel3"));
    AddToolbarButton(panel3_, QStringLiteral("SpeedButton5"), QStringLiteral("&About"),
                     QStringLiteral("about"), 0, &TForm1::SpeedButton5Click);
    AddToolbarButton(panel3_, QStringLiteral("EmptyButton6"), QStringLiteral("&Exit"),
                     QStringLiteral("exit"), 72, &TForm1::EmptyButton6Click);

    bevel1_ = new Bevel(Bevel::Shape::TopLine, Bevel::Style::Lowered, this);
    bevel1_->setObjectName(QStringLiteral("Bevel1"));
}

SpeedButton* TForm1::AddToolbarButton(QWidget* parent, const QString& name, const QString& caption,
                                      const QString& glyph, int left, void (TForm1::*handler)()) {
    auto* button = new SpeedButton(caption, parent);
    button->setObjectName(name);
    button->SetGlyph(ArtPixmap(QStringLiteral("glyphs/") + glyph));
    button->setGeometry(left, kCommandTop, kCommandWidth, kCommandHeight);
    connect(button, &SpeedButton::clicked, this, handler);
    return button;
}

void TForm1::BuildLeftColumn() {
    image8_ = new PressSink(this);
    image8_->setObjectName(QStringLiteral("Image8"));

    auto* bevel3 = new Bevel(Bevel::Shape::BottomLine, Bevel::Style::Lowered, this);
    bevel3->setObjectName(QStringLiteral("Bevel3"));
    bevel3->setGeometry(0, 88, kLeftColumnWidth, 8);
    bevel2_ = new Bevel(Bevel::Shape::LeftLine, Bevel::Style::Lowered, this);
    bevel2_->setObjectName(QStringLiteral("Bevel2"));

    AddLabel(QStringLiteral("Label20"), QStringLiteral("Visual Quom++"), 56, 352);
    AddLabel(QStringLiteral("Label21"), QStringLiteral("by the Quom kit team"), 32, 368);
    auto* bevel4 = new Bevel(Bevel::Shape::TopLine, Bevel::Style::Lowered, this);
    bevel4->setObjectName(QStringLiteral("Bevel4"));
    bevel4->setGeometry(0, 392, kLeftColumnWidth, 8);
}

QLabel* TForm1::AddLabel(const QString& name, const QString& text, int left, int top) {
    auto* label = new QLabel(text, this);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    label->adjustSize();
    label->move(left, top);
    // Texts of the left column let presses through to the column beneath them.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

SpeedButton* TForm1::AddPanelButton(const QString& name, const QString& caption, int left, int top,
                                    int width, bool dots) {
    auto* button = new SpeedButton(caption, this);
    button->setObjectName(name);
    button->setCursor(Qt::ArrowCursor);
    if (dots) button->setFont(TimesFont(16, true));
    button->setGeometry(left, top, width, kPanelRowHeight);
    return button;
}

void TForm1::BuildPropertyPanel() {
    sel_ = AddLabel(QStringLiteral("sel"), QStringLiteral("No Item Selected"), 8, 104);
    sel_->resize(161, sel_->height());
    AddLabel(QStringLiteral("Label22"), QStringLiteral("Caption:"), 8, 128);
    edit1_ = new QLineEdit(this);
    edit1_->setObjectName(QStringLiteral("Edit1"));
    edit1_->setGeometry(8, 144, 161, 21);
    edit1_->setCursor(Qt::IBeamCursor);
    AddPanelButton(QStringLiteral("SpeedButton6"), QStringLiteral("Change size(Button Only)"), 8,
                   168, 161, false);
    AddPanelButton(QStringLiteral("SpeedButton1"), QStringLiteral("Change Form Color"), 8, 184, 161,
                   false);

    AddLabel(QStringLiteral("Label23"), QStringLiteral("On Click:"), 8, 208);
    label3d4_ = AddLabel(QStringLiteral("Label3D4"), QString::fromLatin1(kNoAction), 88, 208);
    label3d4_->hide();
    auto* combo = new QComboBox(this);
    combo->setObjectName(QStringLiteral("ComboBox1"));
    combo->setEditable(true);
    combo->setGeometry(8, 224, 137, 21);
    combo->setCursor(Qt::ArrowCursor);
    for (const ActionEntry& action : ActionTable) {
        combo->addItem(FromModelText(action.entry));
    }
    combo->setCurrentIndex(-1);
    AddPanelButton(QStringLiteral("SpeedButton7"), QStringLiteral("..."), 152, 224, 17, true);

    AddLabel(QStringLiteral("Label24"), QStringLiteral("Color:"), 8, 248);
    shape1_ = new Shape(QColor(0xC0, 0xC0, 0xC0), this);  // silver
    shape1_->setObjectName(QStringLiteral("Shape1"));
    shape1_->setGeometry(40, 248, 105, 17);
    AddPanelButton(QStringLiteral("SpeedButton8"), QStringLiteral("..."), 152, 248, 17, true);

    AddLabel(QStringLiteral("Label25"), QStringLiteral("Font Size:"), 8, 272);
    label26_ = AddLabel(QStringLiteral("Label26"), QStringLiteral("8"), 72, 272);
    label26_->setAlignment(Qt::AlignRight | Qt::AlignTop);
    label26_->resize(73, label26_->height());
    AddPanelButton(QStringLiteral("SpeedButton9"), QStringLiteral("..."), 152, 272, 17, true);
    AddPanelButton(QStringLiteral("SpeedButton10"), QStringLiteral("Set Label To Show Time"), 8,
                   296, 161, false);
    AddPanelButton(QStringLiteral("SpeedButton11"), QStringLiteral("Set Label To Show Date"), 8,
                   320, 161, false);
}

void TForm1::showEvent(QShowEvent* event) {
    if (!shown_before_) {
        shown_before_ = true;
        CentreOnScreen(this);
        FormShow();
    }
    QWidget::showEvent(event);
}

void TForm1::resizeEvent(QResizeEvent* event) {
    LayoutRegions(event->size().width(), event->size().height());
    QWidget::resizeEvent(event);
}

void TForm1::LayoutRegions(int w, int h) {
    panel2_->setGeometry(0, 0, w, kToolbarHeight);
    panel3_->setGeometry(w - kRightPanelWidth, 0, kRightPanelWidth, kToolbarHeight);
    bevel1_->setGeometry(0, kToolbarHeight, w, 8);
    image8_->setGeometry(0, kToolbarHeight, kLeftColumnWidth, h - kToolbarHeight);
    image8_->lower();
    bevel2_->setGeometry(kColumnSeparatorLeft, kColumnSeparatorTop, 2, h - kColumnSeparatorTop);
}

}  // namespace quom
