#pragma once

#include <QDate>

class DealDatabase;

// The dashboard's sample: a year of deals of four salespeople up to March
// 2026, some split, one unwound, two sheets printed in March, and a pay plan
// with volume tiers for one of them. False when a deal could not be saved.
bool fillDashboardSample(DealDatabase &database);

// The day the sample's dashboard is opened on.
inline QDate dashboardSampleToday()
{
    return QDate(2026, 3, 28);
}
