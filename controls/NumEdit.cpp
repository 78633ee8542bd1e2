#include "controls/NumEdit.h"

#include "controls/NumberText.h"

#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QKeySequence>

#include <cmath>
#include <cstdint>

namespace tintara {

namespace {

// Rounds to the nearest whole number, halves upward: adds 0.5 and takes the whole
// number at or below the result (so -4.5 gives -4 and -5 stays -5). Results beyond
// the 32-bit signed range saturate at its ends.
double RoundToWhole(double value) {
    const double shifted = std::floor(value + 0.5);
    if (std::isnan(shifted))
        return 0.0;
    if (shifted >= 2147483647.0)
        return 2147483647.0;
    if (shifted <= -2147483648.0)
        return -2147483648.0;
    return shifted;
}

// The platform's editing shortcuts are commands of the edit, not typed characters,
// even where they also carry a control character (Ctrl+C gives 3, Ctrl+V 22, ...).
bool IsEditCommand(const QKeyEvent* event) {
    static constexpr QKeySequence::StandardKey Commands[] = {
        QKeySequence::Copy, QKeySequence::Cut,  QKeySequence::Paste,
        QKeySequence::Undo, QKeySequence::Redo, QKeySequence::SelectAll};
    for (const QKeySequence::StandardKey command : Commands) {
        if (event->matches(command))
            return true;
    }
    return false;
}

constexpr int Backspace = 8;
constexpr int Tab = 9;
constexpr int LineFeed = 10;
constexpr int CarriageReturn = 13;
constexpr int Escape = 27;
constexpr int Delete = 127;

} // namespace

TNumEdit::TNumEdit(QWidget* parent) : QLineEdit(parent) {
    // Every typed character must pass the filter; input method compositions would
    // bypass it, and a numeric field has no use for them.
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

TNumEdit::~TNumEdit() = default;

double TNumEdit::Number() {
    QString current = text();
    const qsizetype comma = current.indexOf(QLatin1Char(','));
    if (comma >= 0) {
        current.remove(comma, 1);
        // May re-enter through a textChanged handler that reads Number again.
        writeText(current);
    }
    // Convert the text as it stands after any nested reads, so the value returned
    // always agrees with what the field shows.
    m_number = tintara::ConvertNumberText(text());
    return m_number;
}

void TNumEdit::setNumber(double value) {
    m_number = value;
    if (m_number > m_max)
        m_number = m_max;
    if (m_number < m_min || std::isnan(m_number))
        m_number = m_min;
    if (!m_allowDecimal)
        m_number = RoundToWhole(m_number);
    writeNumber();
}

void TNumEdit::setAllowDecimal(bool allow) {
    m_allowDecimal = allow;
    if (!allow)
        m_number = RoundToWhole(m_number);
    writeNumber();
}

void TNumEdit::setAllowMinus(bool allow) {
    m_allowMinus = allow;
    if (!allow && (m_number < 0 || std::isnan(m_number)))
        m_number = -m_number;
    writeNumber();
}

void TNumEdit::setMax(double value) {
    if (value > m_min)
        m_max = value;
    if (m_number > m_max)
        m_number = m_max;
    writeNumber();
}

void TNumEdit::setMin(double value) {
    if (value < m_max)
        m_min = value;
    if (m_number < m_min || std::isnan(m_number))
        m_number = m_min;
    writeNumber();
}

void TNumEdit::NumEditExit(QObject* /*sender*/) {
    const QString current = text();
    m_number = current.isEmpty() ? 0.0 : tintara::ConvertNumberText(current);
    if (m_number < m_min || std::isnan(m_number))
        m_number = m_min;
    if (m_number > m_max)
        m_number = m_max;
    writeNumber();
}

int TNumEdit::FilterKey(int key) {
    m_keyPressed = static_cast<std::int8_t>(static_cast<std::uint8_t>(key & 0xFF));

    const QString current = text();
    const qsizetype length = current.size();
    const int selected = selectionLength();
    const int start = selected > 0 ? selectionStart() : cursorPosition();

    // In front of a leading minus sign nothing may be typed.
    if (length > 0 && start == 0 && current.front() == QLatin1Char('-') && selected == 0)
        return 0;
    if (key >= '0' && key <= '9')
        return key;
    if (key == Backspace)
        return key;
    if (key == Tab || key == LineFeed || key == CarriageReturn) {
        NumEditExit(nullptr);
        return Tab;
    }
    if (key == '-')
        return m_allowMinus && (length == 0 || start == 0) ? key : 0;
    if (key == '.')
        return m_allowDecimal && (length == 0 || !current.contains(QLatin1Char('.'))) ? key : 0;
    return 0;
}

void TNumEdit::keyPressEvent(QKeyEvent* event) {
    if (IsEditCommand(event)) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    switch (event->key()) {
    case Qt::Key_Backspace:
        typeCharacter(Backspace, event);
        event->accept();
        return;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        typeCharacter(Tab, event);
        event->accept();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        typeCharacter(event->modifiers() & Qt::ControlModifier ? LineFeed : CarriageReturn, event);
        event->accept();
        return;
    default:
        break;
    }
    const QString typed = event->text();
    if (typed.isEmpty() || typed.front().unicode() == Delete || typed.front().unicode() == Escape) {
        // Navigation and deletion keys, and keys that type nothing, are the edit's.
        QLineEdit::keyPressEvent(event);
        return;
    }
    for (const char32_t character : typed.toUcs4())
        typeCharacter(character, event);
    event->accept();
}

void TNumEdit::inputMethodEvent(QInputMethodEvent* event) {
    // Input methods are switched off for this field; should a commit still arrive, its
    // characters count as typed. Compositions in progress are not shown.
    for (const char32_t character : event->commitString().toUcs4())
        typeCharacter(character, nullptr);
    event->accept();
}

void TNumEdit::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    // A context menu or a switch to another window leaves the field current; only a
    // move to another control is an exit.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        NumEditExit(nullptr);
}

void TNumEdit::typeCharacter(char32_t character, QKeyEvent* source) {
    // Characters beyond one byte have no code of their own; they count as '?'.
    const int code = character > 0xFF ? int{'?'} : static_cast<int>(character);
    const int result = FilterKey(code);
    if (result == 0)
        return;
    if (result == Backspace) {
        if (source && source->key() == Qt::Key_Backspace)
            QLineEdit::keyPressEvent(source);
        else
            backspace();
        return;
    }
    if (result == Tab) {
        // The Tab handed on moves the focus as the Tab key does.
        const bool backward =
            source && (source->key() == Qt::Key_Backtab ||
                       (source->key() == Qt::Key_Tab && source->modifiers() & Qt::ShiftModifier));
        focusNextPrevChild(!backward);
        return;
    }
    const QString typed(QChar(static_cast<char16_t>(result)));
    QKeyEvent single(QEvent::KeyPress, source ? source->key() : 0,
                     source ? source->modifiers() : Qt::NoModifier, typed,
                     source ? source->isAutoRepeat() : false);
    QLineEdit::keyPressEvent(&single);
}

void TNumEdit::writeText(const QString& newText) {
    if (text() != newText)
        setText(newText);
}

void TNumEdit::writeNumber() {
    writeText(tintara::FormatNumberText(m_number));
}

} // namespace tintara
