#pragma once
// TExeButton: a tile showing a file's icon and a short label inside a 3-D frame; when
// AutoRun is set, a release over it opens the file (a shortcut is resolved first).
// Also used as a plain icon-and-title tile with no file.
//
// It derives from QWidget for the same reason as TMButton: its press, release and
// click order (OnClick before the release is handled, latching) is its own.
// Frame colours are the palette's Midlight (cl3DLight) and Shadow (cl3DDkShadow);
// Color follows ParentColor as in TMButton (Window role, or Base for clWindow).
//
// In a Designer form, promote a QWidget to tintara::TExeButton (header controls/ExeButtn.h) and
// set the properties below as dynamic properties (stdset="0"), so the generated code
// sets them by name; connect OnClick() in the form's connections.

#include "controls/ClickableControl.h"
#include "controls/ControlColour.h"

#include <QColor>
#include <QIcon>
#include <QString>
#include <QWidget>

#include <functional>

namespace tintara {

class TExeButton : public TClickableControl {
    Q_OBJECT
    Q_PROPERTY(QIcon Icon READ Icon WRITE SetIcon)
    Q_PROPERTY(QString FileName READ FileName WRITE SetFileName)
    Q_PROPERTY(QString FilePath READ FilePath)
    Q_PROPERTY(QString FileExt READ FileExt WRITE SetFileExt)
    Q_PROPERTY(QString Caption READ Caption WRITE SetCaption)
    Q_PROPERTY(bool Latch READ Latch WRITE SetLatch)
    Q_PROPERTY(bool Down READ Down WRITE SetDown)
    Q_PROPERTY(bool Auto READ Auto WRITE SetAuto)
    Q_PROPERTY(bool AutoRun READ AutoRun WRITE SetAutoRun)
    Q_PROPERTY(bool ShowIcon READ ShowIcon WRITE SetShowIcon)
    Q_PROPERTY(bool ShowLabel READ ShowLabel WRITE SetShowLabel)
    Q_PROPERTY(bool LargeIcon READ LargeIcon WRITE SetLargeIcon)
    Q_PROPERTY(bool Border READ Border WRITE SetBorder)

public:
    // Indices of SetFlag; 0 names no property.
    enum FlagIndex {
        AutoFlag = 1,
        AutoRunFlag = 2,
        ShowIconFlag = 3,
        ShowLabelFlag = 4,
        LargeIconFlag = 5,
        DownFlag = 6,
        BorderFlag = 7,
    };

    explicit TExeButton(QWidget* parent = nullptr);
    ~TExeButton() override;

    QIcon Icon() const { return m_icon; }
    QIcon SmallIcon() const { return m_smallIcon; }
    // Copies the icon and makes its 16 x 16 copy; no layout update, no repaint.
    void SetIcon(const QIcon& icon);

    QString FileName() const { return m_fileName; }
    // Takes extension, folder, label and associated icon from the name, then
    // UpdateLayout. Writing the current name does nothing.
    void SetFileName(const QString& fileName);
    QString FilePath() const { return m_filePath; }
    QString FileExt() const { return m_fileExt; }
    void SetFileExt(const QString& extension) { m_fileExt = extension; }

    QString Caption() const { return m_caption; }
    // Writing the current text does nothing; otherwise UpdateLayout.
    void SetCaption(const QString& caption);

    bool Latch() const { return m_latch; }
    void SetLatch(bool value) { m_latch = value; }

    bool Auto() const { return m_auto; }
    bool AutoRun() const { return m_autoRun; }
    bool ShowIcon() const { return m_showIcon; }
    bool ShowLabel() const { return m_showLabel; }
    bool LargeIcon() const { return m_largeIcon; }
    bool Down() const { return m_down; }
    bool Border() const { return m_border; }
    void SetAuto(bool value) { SetFlag(AutoFlag, value); }
    void SetAutoRun(bool value) { SetFlag(AutoRunFlag, value); }
    void SetShowIcon(bool value) { SetFlag(ShowIconFlag, value); }
    void SetShowLabel(bool value) { SetFlag(ShowLabelFlag, value); }
    void SetLargeIcon(bool value) { SetFlag(LargeIconFlag, value); }
    void SetDown(bool value) { SetFlag(DownFlag, value); }
    void SetBorder(bool value) { SetFlag(BorderFlag, value); }

    // Stores value in the property named by index, then UpdateLayout (for any index).
    virtual void SetFlag(int index, bool value);
    // Icon size from LargeIcon; with Auto the size from icon and label; repaint at once.
    virtual void UpdateLayout();
    // Opens the file, resolving a shortcut first; failures are silent.
    void RunFile();

    int IconSize() const { return m_iconSize; }
    int IconLeft() const { return m_iconLeft; }
    int IconTop() const { return m_iconTop; }
    int LabelWidth() const { return m_labelWidth; }

    // The label as painting draws it: Caption shortened to fit the label area.
    QString VisibleLabel() const;

    // Shortens text until width(text) + offset fits in available: each step removes
    // the last character and, while more than 4 remain, turns the last two into dots.
    static QString ShortenLabel(QString text, int offset, int available,
                                const std::function<int(const QString&)>& width);

    QSize sizeHint() const override;

    // OnClick (see TClickableControl) comes before the release is handled, and so
    // before the file is opened.

protected:
    void paintEvent(QPaintEvent* event) override;
    bool ActsWhenClicked() const override { return m_autoRun; }
    void Pressed(QPoint p) override;
    void Released(QPoint p) override;

private:
    struct LabelPlacement {
        QString text;
        int x = 0;
        int y = 0;
    };
    LabelPlacement PlaceLabel() const;

    QIcon m_icon;
    QIcon m_smallIcon;
    bool m_auto = false;
    bool m_autoRun = false;
    bool m_largeIcon = true;
    int m_iconSize = 32;
    int m_iconLeft = 4;
    int m_iconTop = 4;
    int m_labelWidth = 64;
    bool m_showIcon = true;
    bool m_showLabel = true;
    bool m_down = false;
    bool m_latch = false;
    bool m_border = true;
    QString m_fileName;
    QString m_filePath;
    QString m_fileExt;
    QString m_caption;
};

} // namespace tintara
