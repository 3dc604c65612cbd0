#pragma once

#include <QDate>
#include <QString>

#include <array>
#include <optional>

// One vehicle deal as the worksheet holds it: every field as the text on
// screen (amounts may be plain numbers or the program's display forms), the
// option buttons and check boxes as flags. The worksheet window reads and
// writes this; the store saves and recalls it. The comment after each member
// names the worksheet control it mirrors.
struct Deal
{
    static constexpr int kRows = 5;

    QDate date;                        // dtpDate
    QString salesPerson;               // DBCombo1
    QString customer;                  // txtCustomer
    QString stockNumber;               // Text1
    QString year;                      // cboYear
    QString unit;                      // cboUnit
    QString unitClass;                 // txtTCU
    QString saleType;                  // Combo12
    QString sellingPrice;              // Text3
    QString cost;                      // Text13
    std::array<QString, kRows> reductionDescriptions; // Combo3..Combo7
    std::array<QString, kRows> reductionAmounts;      // Text4(0)..Text4(4)
    std::array<QString, kRows> additionDescriptions;  // Combo8, Combo9, Combo10, Combo11, Combo1
    std::array<QString, kRows> additionAmounts;       // Text6, Text8, Text10, Text12, Text5
    QString appraisal;                 // Text19
    QString tradeStock;                // txtStock
    QString allowance;                 // Text20
    bool overAllow = false;            // Option2
    bool underAllow = false;           // Option1
    QString pack;                      // Text2
    QString commissionRate;            // Text22
    bool warrantySold = false;         // Check1
    QString payableGross;              // Text21
    QString commission;                // Text23
    QString warranty;                  // txtWarranty
    QString spiff;                     // txtSpiff
    QString totalCommission;           // txtTotalComm
    bool split = false;                // ToggleButton1 down
    QString splitPartner;              // DBCombo2
    QString splitShare = QStringLiteral("50"); // txtShare: the first salesperson's share in whole percent

    // The salesperson's pay plan version the pack, rate, mini, cap and
    // warranty spiff came from (none: the standing figures), and that
    // version's pack and rate where the ones on the deal were typed over
    // them (empty where not).
    std::optional<qint64> planVersion;
    QString planPack;
    QString planRate;

    bool operator==(const Deal &) const = default;
};
