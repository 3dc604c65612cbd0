#include "store/record_field.h"

#include "test_printers.h"

#include <gtest/gtest.h>

namespace {

using Kind = RecordField::Kind;

TEST(RecordField, ShowsEachKindOfValueAsItsText)
{
    struct Case
    {
        Kind kind;
        QVariant stored;
        const char *shown;
    };
    const Case cases[] = {
        {Kind::Text, QVariant(), ""},
        {Kind::Money, qint64(12505000), "1250.5"},
        {Kind::Money, qint64(5000), "0.5"},
        {Kind::Date, QStringLiteral("2005-03-07"), "03/07/2005"},
        {Kind::Date, QStringLiteral("2005-02-30"), "2005-02-30"}, // no date: as stored
        {Kind::YesNo, qint64(1), "True"},
        {Kind::YesNo, qint64(0), "False"},
    };
    for (const Case &c : cases) {
        const RecordField field{QStringLiteral("C"), c.kind, QStringLiteral("Label")};
        EXPECT_EQ(field.display(c.stored), QString::fromLatin1(c.shown)) << c.shown;
    }
}

TEST(RecordField, TurnsTypedTextIntoTheColumnValue)
{
    struct Case
    {
        Kind kind;
        const char *typed;
        QVariant stored;
    };
    const Case cases[] = {
        {Kind::Text, "", QVariant()},
        {Kind::RequiredText, "", QStringLiteral("")},
        {Kind::Money, "$1,250.50", qint64(12505000)},
        {Kind::Money, "-$12.50", qint64(-125000)},
        {Kind::Money, "  ", QVariant()},
        {Kind::Date, "03/07/2005", QStringLiteral("2005-03-07")},
        {Kind::Date, "3/7/05", QStringLiteral("2005-03-07")},
        {Kind::YesNo, "True", 1},
        {Kind::YesNo, "yes", 1},
        {Kind::YesNo, "false", 0},
        {Kind::YesNo, "", 0},
    };
    for (const Case &c : cases) {
        const RecordField field{QStringLiteral("C"), c.kind, QStringLiteral("Label")};
        QString refusal;
        const std::optional<QVariant> value = field.value(QString::fromLatin1(c.typed), &refusal);
        ASSERT_TRUE(value) << c.typed << ": " << refusal.toStdString();
        EXPECT_EQ(value->isNull(), c.stored.isNull()) << c.typed;
        EXPECT_EQ(value->toString(), c.stored.toString()) << c.typed;
    }
}

// A required text column refuses NULL, and a null QString would be bound as NULL.
TEST(RecordField, AnEmptyRequiredTextIsStoredAsEmptyText)
{
    const RecordField name{QStringLiteral("Name"), Kind::RequiredText, QStringLiteral("Name")};
    const std::optional<QVariant> value = name.value(QString(), nullptr);
    ASSERT_TRUE(value);
    EXPECT_FALSE(value->toString().isNull());
}

TEST(RecordField, RefusesTextThatIsNoValueNamingTheField)
{
    struct Case
    {
        Kind kind;
        const char *label;
        const char *typed;
        const char *refusal;
    };
    const Case cases[] = {
        {Kind::Money, "Gross", "12a",
         "Gross: \"12a\" is not a number. Type a plain amount such as 1250.50."},
        {Kind::Date, "Date:", "13/45/2005",
         "Date: \"13/45/2005\" is not a date. Type it as MM/DD/YYYY, for example 03/07/2005."},
        {Kind::YesNo, "Paid", "maybe", "Paid: \"maybe\" is neither True nor False."},
    };
    for (const Case &c : cases) {
        const RecordField field{QStringLiteral("C"), c.kind, QString::fromLatin1(c.label)};
        QString refusal;
        EXPECT_FALSE(field.value(QString::fromLatin1(c.typed), &refusal)) << c.typed;
        EXPECT_EQ(refusal, QString::fromLatin1(c.refusal));
    }
}

} // namespace
