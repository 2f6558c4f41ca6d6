#include "TDataEdit.h"

#include "DecimalText.h"
#include "Evaluator.h"
#include "NumberText.h"
#include "UnitStrings.h"
#include "UserPrompts.h"

#include <QApplication>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMdiSubWindow>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr int kDigits = 18;
// Digits of the text a field shows while it is not being edited: those the
// project file keeps.
constexpr int kShownDigits = 8;
constexpr long double kIntMin = std::numeric_limits<std::int32_t>::min();
constexpr long double kIntMax = std::numeric_limits<std::int32_t>::max();

// Characters that continue an expression: typed over a fully selected text
// they are appended instead of replacing it.
const QString kOperatorKeys = QStringLiteral("+-/*^=%!");

}  // namespace

QString GeneralText(long double value)
{
    // The evaluator reads numbers with the locale's decimal point.
    return QString::fromStdString(GeneralNumberText(value, kDigits, LocaleDecimalPoint()));
}

QString RoundedText(long double value)
{
    return QString::fromStdString(GeneralNumberText(value, kShownDigits, LocaleDecimalPoint()));
}

QString HexText(long double value)
{
    const long long rounded = std::llrint(value);
    // Negative values that fit 32 bits are written as their 32-bit pattern,
    // the way the evaluator reads "$" numbers back.
    const unsigned long long bits = rounded < 0 && rounded >= kIntMin ? static_cast<std::uint32_t>(rounded)
                                                                      : static_cast<unsigned long long>(rounded);
    return QStringLiteral("$") + QString::number(bits, 16).toUpper().rightJustified(4, QLatin1Char('0'));
}

TDataEdit::TDataEdit(QWidget* parent) : QLineEdit(QStringLiteral("0"), parent), shownNumber_(text()) {}

void TDataEdit::SetCaption(const QString& caption)
{
    caption_ = caption;
    RefreshLabel();
}

void TDataEdit::SetEditLabel(QLabel* label)
{
    label_ = label;
    RefreshLabel();
}

void TDataEdit::SetUnitsString(const QString& units)
{
    unitsString_ = units;
    RefreshLabel();
}

void TDataEdit::SetUnits(UnitSystem units)
{
    units_ = units;
    RefreshLabel();
}

void TDataEdit::SetMinVal(long double value)
{
    if (integerOnly_)
        value = std::clamp(value, kIntMin, kIntMax);
    minVal_ = std::min(value, maxVal_);
    KeepWithinBounds();
}

void TDataEdit::SetMaxVal(long double value)
{
    if (integerOnly_)
        value = std::clamp(value, kIntMin, kIntMax);
    maxVal_ = std::max(value, minVal_);
    KeepWithinBounds();
}

void TDataEdit::SetIntegerOnly(bool on)
{
    integerOnly_ = on;
    if (on) {
        SetMinVal(minVal_);
        SetMaxVal(maxVal_);
    }
}

void TDataEdit::SetHex(bool on)
{
    hex_ = on;
    if (const std::optional<long double> value = Value())
        ShowNumber(*value);
}

void TDataEdit::KeepWithinBounds()
{
    const std::optional<long double> value = Value();
    if (value && (*value < minVal_ || *value > maxVal_))
        SetNumber(*value);
}

std::optional<long double> TDataEdit::Value() const
{
    try {
        return Number();
    } catch (const EAssignError&) {
        // A text that is no number yet is left as typed until the exit check.
        return std::nullopt;
    }
}

long double TDataEdit::Number() const
{
    if (exact_ && !isModified() && text() == shownNumber_)
        return *exact_;
    return Evaluate(text().toStdString());
}

void TDataEdit::SetNumber(long double value) { ShowNumber(std::clamp(value, minVal_, maxVal_)); }

void TDataEdit::ShowNumber(long double value)
{
    exact_ = value;
    setText(hex_ ? HexText(value) : hasFocus() ? GeneralText(value) : RoundedText(value));
    shownNumber_ = text();
    ShowStart();
}

void TDataEdit::ShowExact(bool full)
{
    if (!exact_ || isModified() || text() != shownNumber_ || hex_)
        return;
    setText(full ? GeneralText(*exact_) : RoundedText(*exact_));
    shownNumber_ = text();
}

void TDataEdit::ShowStart()
{
    // A narrow field shows the number's first digits, never only its last.
    if (!hasFocus())
        setCursorPosition(0);
}

bool TDataEdit::ExitCheck()
{
    valid_ = false;
    long double value = 0;
    try {
        value = Number();
    } catch (const EAssignError& error) {
        return Reject(integerOnly_ ? QStringLiteral("Entry must be a valid integer.")
                                   : QString::fromStdString(error.what()));
    }
    if (integerOnly_ && value != std::trunc(value))
        return Reject(QStringLiteral("Entry must be an integer."));
    if (aboveMin_ && value <= minVal_ && isModified())
        return Reject(QStringLiteral("Entry must be greater than ") + GeneralText(minVal_));
    if (value < minVal_) {
        ShowNumber(minVal_);
        return Reject(QStringLiteral("Entry must be greater than or equal to ") + GeneralText(minVal_));
    }
    if (value > maxVal_) {
        ShowNumber(maxVal_);
        return Reject(QStringLiteral("Entry must be less than or equal to ") + GeneralText(maxVal_));
    }
    ShowNumber(value);
    valid_ = true;
    return true;
}

bool TDataEdit::Reject(const QString& message)
{
    // The message box takes the focus from the field; that focus change
    // must not start another check.
    checking_ = true;
    Prompts().Inform(window(), message, PromptIcon::Information);
    if (isVisible())
        setFocus(Qt::OtherFocusReason);
    checking_ = false;
    return false;
}

QString TDataEdit::LabelText() const
{
    if (unitsString_.isEmpty())
        return caption_;
    const QString unit = units_ == UnitSystem::Symbolic
                             ? unitsString_
                             : QString::fromStdString(ExpandUnits(unitsString_.toStdString(), units_));
    return caption_ + QStringLiteral(" (") + unit + QLatin1Char(')');
}

void TDataEdit::RefreshLabel()
{
    if (!label_)
        return;
    label_->setText(LabelText());
    label_->setEnabled(isEnabled());
}

void TDataEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        setText(shownNumber_);
        selectAll();
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        ExitCheck();
        selectAll();
        event->accept();
        return;
    }
    if (!event->text().isEmpty() && kOperatorKeys.contains(event->text()) && hasSelectedText() &&
        selectedText() == text())
        end(false);
    QLineEdit::keyPressEvent(event);
}

void TDataEdit::focusInEvent(QFocusEvent* event)
{
    // Taken up by the user (not only by its window coming to the front), the
    // field shows its number in full, from its start.
    const Qt::FocusReason reason = event->reason();
    const bool byUser = reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
                        reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason;
    if (byUser)
        ShowExact(true);
    QLineEdit::focusInEvent(event);
    if (byUser && hasSelectedText() && selectedText() == text())
        setSelection(static_cast<int>(text().size()), -static_cast<int>(text().size()));
}

void TDataEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Only moving on to another control of the same window leaves the field.
    // Leaving the window (for another child window of the main window or
    // another program) or opening a context menu does not: the dialog checks
    // its active field itself when it is deactivated.
    if (!checking_ && event->reason() != Qt::PopupFocusReason && InOwnWindow(QApplication::focusWidget()))
        ExitCheck();
    ShowExact(false);
    ShowStart();
}

bool TDataEdit::InOwnWindow(const QWidget* widget) const
{
    const QWidget* frame = this;
    while (!frame->isWindow() && qobject_cast<const QMdiSubWindow*>(frame) == nullptr)
        frame = frame->parentWidget();
    return widget != nullptr && frame->isAncestorOf(widget);
}

void TDataEdit::changeEvent(QEvent* event)
{
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        RefreshLabel();
}
