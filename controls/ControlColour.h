#pragma once
// A control's background colour: the parent's window colour while it follows the
// parent, otherwise its own, an unset colour standing for the system window colour.

#include <QColor>
#include <QPalette>

namespace tintara {

class ControlColour {
public:
    QColor resolve(const QPalette& palette) const {
        if (m_followsParent)
            return palette.color(QPalette::Window);
        return m_own.isValid() ? m_own : palette.color(QPalette::Base);
    }
    // A colour of its own stops following the parent.
    void set(const QColor& colour) {
        m_own = colour;
        m_followsParent = false;
    }
    bool followsParent() const { return m_followsParent; }
    void setFollowsParent(bool value) { m_followsParent = value; }

private:
    QColor m_own;
    bool m_followsParent = true;
};

} // namespace tintara
