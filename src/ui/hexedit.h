// THexEdit: a one-line field for a non-negative whole number in hexadecimal, decimal, octal or
// binary. Every key that would leave text that is not a number of the base (or, validating, a
// number outside the range) is swallowed; leaving the field normalises the text.
#pragma once

#include "ui/hexedit_rules.h"

#include <QLineEdit>

namespace isp {

class THexEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit THexEdit(QWidget* parent = nullptr);

    TEditBase NumBase() const { return rules_.base; }
    void SetNumBase(TEditBase base);
    std::int32_t MinValue() const { return rules_.minValue; }
    void SetMinValue(std::int32_t value);
    std::int32_t MaxValue() const { return rules_.maxValue; }
    void SetMaxValue(std::int32_t value);
    bool Validate() const { return rules_.validate; }
    void SetValidate(bool on);
    std::int32_t Value() const;
    void SetValue(std::int32_t value);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    // Lets the key through when the candidate text is valid.
    bool Accepts(const QString& candidate) const;

    THexEditRules rules_;
};

} // namespace isp
