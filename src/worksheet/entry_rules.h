#pragma once

#include "common/money.h"
#include "common/prompts.h"

#include <QString>

#include <optional>

// The rules the worksheet's fields apply when they are left or changed: which
// fields refuse what, with which message, and what the field holds after a
// refusal. The window looks a field up by its control name and applies the
// rule; everything here is plain text in, plain text out.
namespace EntryRules {

QString validNumberMessage();  // "You must enter a valid number"
QString dollarsMessage();      // "You must enter an amount in dollars!"
QString oneCharacterMessage(); // "Must be 1 character only"

// True when a field holds text that is not empty and not a number, or a
// number the calculation cannot take exactly: a form without a digit ("$.",
// "-$.", "$-.") or one with a digit other than 0 past the eighteenth decimal.
bool refusesAsNumber(const QString &text);

// A field that only takes a number: the message on refusal and what the field
// holds afterwards. The focus always goes back to the field.
struct NumberRule
{
    enum class Afterwards { Emptied, Kept, SetToZero };

    QString message;
    Prompts::Icon icon = Prompts::Icon::None;
    Afterwards afterwards = Afterwards::Emptied;

    // The field's text after a refusal of `text`.
    QString refusedText(const QString &text) const;
};

// The number rule of the field with this control name (Text3, Text13, Text2,
// txtWarranty, Text6, Text8, Text10, Text12, Text5, txtSpiff), if it has one.
std::optional<NumberRule> numberRule(const QString &field);

// A field with a longest accepted text. A refused text stays in the field and
// the focus goes back to it.
struct LengthRule
{
    qsizetype longest = 0;
    QString message;

    bool refuses(const QString &text) const { return text.size() > longest; }
};

// The length rule of Text1 (8), txtCustomer (22) or cboUnit (20), if any.
std::optional<LengthRule> lengthRule(const QString &field);

// "UT" and "UC" (exactly, case-sensitive) are the used unit classes; every
// other text, the empty one included, counts as new.
bool isUsedUnitClass(const QString &unitClass);

// What leaving the unit class field does: the pack it puts in place (the
// default pack of the class, in the "Currency" form) and, for a used unit,
// the sale type it resets.
struct UnitClassOutcome
{
    QString pack;
    std::optional<QString> saleType;
};
UnitClassOutcome leaveUnitClass(const QString &unitClass, const QString &newPack,
                                const QString &usedPack);

// What leaving the sale type field does: the description it puts into the
// first reduction row ("A/X/Z Cash" for A, X, Z, D and P; otherwise empty),
// and whether it reports "Must be 1 character only".
struct SaleTypeOutcome
{
    QString firstReduction;
    bool wrongLength = false;
};
SaleTypeOutcome leaveSaleType(const QString &saleType);

// A field's text rewritten in a display form that shows cents (dollars,
// currency): a number is written in the form, rounded once from its value as
// typed; any other text (the empty one included) stays as it is.
QString inForm(const QString &text, QString (*form)(Money));

// A field's text rewritten as its number in a display form: text that is not
// a number counts as 0.
QString asNumberInForm(const QString &text, QString (*form)(Money));

} // namespace EntryRules
