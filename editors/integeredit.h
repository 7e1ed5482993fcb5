#pragma once

#include <QLineEdit>
#include <QValidator>

// The line edit of an int32 field, which writes every change of its text into
// the field it shows: an empty text stores nothing, and "-" alone stores 0. A
// keystroke that would leave anything but a number within the int32 range is
// refused, so the cursor, the undo history and an input method's composition
// stay as they were; pasted or composed text keeps what filterDigits leaves of
// it. When the user leaves the edit it shows the stored value, which is what
// Save writes.
class IntegerEdit : public QLineEdit
{
public:
    IntegerEdit();
    // Shows the value of field and writes into it from now on; showing writes
    // nothing. A null field leaves the edit showing what it showed and writing
    // nowhere.
    void showField(qint32 *field);

protected:
    void focusOutEvent(QFocusEvent *event) override;

private:
    class Validator : public QValidator
    {
    public:
        State validate(QString &input, int &position) const override;

    private:
        // The text last accepted, which a refused keystroke leaves in place.
        mutable QString accepted;
    };

    void store(const QString &text);

    qint32 *field = nullptr;
    Validator validator;
};
