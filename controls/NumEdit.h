#pragma once
// TNumEdit: a single-line edit that holds one number between a lower and an upper
// limit. Typed characters are filtered so that only digits, one decimal point and a
// leading minus sign get in; text pasted or written from code is taken as it is.
// The number is read from the text on demand, brought within the limits when the
// field loses the focus or Enter is typed, and written back in one fixed format
// (see NumberText.h).
//
// Typed characters are those a key event carries as text, plus Backspace, Tab and
// Enter. The platform's edit shortcuts (copy, cut, paste, undo, redo, select all) stay
// commands of the edit: a keyboard paste takes the clipboard text unfiltered, as the
// context menu does. Keys that type nothing (arrows, Home, Delete) are the edit's.
//
// Change notification: QLineEdit::textChanged, raised for every change of the text
// whoever makes it (typing, a spinner, the setters, reading Number), never for writing
// an identical text.
//
// In a Designer form, promote a QLineEdit to TNumEdit (header "controls/NumEdit.h")
// and list the properties in the order AllowDecimal, AllowMinus, Number, Max, Min:
// uic applies them in the order they appear in the form, and each setter acts at once.

#include <QLineEdit>

namespace tintara {

class TNumEdit : public QLineEdit {
    Q_OBJECT
    // Declared in the order in which a form applies them.
    Q_PROPERTY(bool AllowDecimal READ AllowDecimal WRITE setAllowDecimal)
    Q_PROPERTY(bool AllowMinus READ AllowMinus WRITE setAllowMinus)
    Q_PROPERTY(double Number READ Number WRITE setNumber)
    Q_PROPERTY(double Max READ Max WRITE setMax)
    Q_PROPERTY(double Min READ Min WRITE setMin)
    Q_PROPERTY(int KeyPressed READ KeyPressed)

public:
    explicit TNumEdit(QWidget* parent = nullptr);
    ~TNumEdit() override;

    bool AllowDecimal() const { return m_allowDecimal; }
    bool AllowMinus() const { return m_allowMinus; }
    double Max() const { return m_max; }
    double Min() const { return m_min; }
    // Code of the last typed character offered to the filter, as a signed 8-bit value
    // widened to int (codes 128..255 give -128..-1; characters beyond 255 count as '?').
    int KeyPressed() const { return m_keyPressed; }

    // Reads the number from the whole text, however long: removes the first ","
    // (writing the shortened text back, which raises textChanged), then converts the
    // text as it then stands. Neither limits nor rounding are applied. The result may
    // lie outside the limits and be infinite (a pasted "1e999").
    double Number();

    // Limits the value to Max, then to Min (NaN gives Min), rounds it to a whole
    // number (halves upward) when decimals are not allowed, and writes it as the text.
    void setNumber(double value);
    // Stores the flag; when false, rounds Number to a whole number. Rewrites the text.
    void setAllowDecimal(bool allow);
    // Stores the flag; when false, a negative Number becomes its opposite (limits are
    // not applied again). Rewrites the text.
    void setAllowMinus(bool allow);
    // Takes value only if it is above Min, then limits Number to Max. Rewrites the text.
    void setMax(double value);
    // Takes value only if it is below Max, then limits Number to Min. Rewrites the text.
    void setMin(double value);

public slots:
    // Converts the text as it is (empty text gives 0), brings the number within
    // Min..Max and writes it back formatted. Runs when the field loses the focus and
    // when Enter, line feed or Tab is typed. The sender is ignored and may be null.
    virtual void NumEditExit(QObject* sender = nullptr);

protected:
    // The character filter: receives the code of one typed character and returns the
    // code to hand on to the edit, or 0 to swallow it. Tab, line feed and carriage
    // return run NumEditExit and are handed on as Tab.
    virtual int FilterKey(int key);

    void keyPressEvent(QKeyEvent* event) override;
    void inputMethodEvent(QInputMethodEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void writeText(const QString& text);
    void writeNumber();
    // Offers one typed character to the filter and carries out the outcome; source is
    // the key event it came with, if any.
    void typeCharacter(char32_t character, QKeyEvent* source);

    bool m_allowDecimal = false;
    bool m_allowMinus = false;
    double m_max = 1000.0;
    double m_min = -1000.0;
    double m_number = 0.0;
    int m_keyPressed = 0;
};

} // namespace tintara
