#pragma once

#include "worksheet/deal.h"

#include <QList>
#include <QString>
#include <QVariantList>

#include <optional>

// The column values a saved deal writes into the three deal tables, worked
// out before anything is written so that a value that does not convert stops
// the save with nothing stored.
//
// SalesSummary: one row, or for a split deal two rows (salesperson, then
// partner) each holding its share of the payable gross, commission, spiff,
// warranty and total commission in whole cents (the first salesperson's
// taking the odd cent) and its share of the unit (0.5 each by default). SalesLog: one row
// whose gross is the payable gross plus the pack. RecallDeal: the whole
// worksheet with the full figures (see RecallColumns).
struct DealRows
{
    QList<QVariantList> summary; // in StoreSchema::columns("SalesSummary") order
    QVariantList log;            // in StoreSchema::columns("SalesLog") order
    QVariantList recall;         // in RecallColumns::names() order
    // The DealPlans row, without its DealId (PayPlanSchema::dealPlanColumns()
    // order); empty for a deal of the standing figures split evenly or not
    // split, which keeps no such row.
    QVariantList plan;

    // std::nullopt, with a message naming the field, when a value does not
    // convert: an amount that is not a number, or an empty or non-numeric
    // figure that must be a number (the payable gross and pack of the sales
    // log, and the five halved figures of a split deal).
    static std::optional<DealRows> fromDeal(const Deal &deal, QString *error);
};
