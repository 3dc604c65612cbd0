#pragma once

#include <QProgressDialog>

// A progress window for long work the user may cancel: named, titled, modal
// over its window, shown only when the work takes longer than
// `minimumDuration` ms, and left standing at the end so that the caller
// reads wasCanceled() afterwards.
void prepareProgress(QProgressDialog &progress, const QString &objectName, const QString &title,
                     const QString &label, Qt::WindowModality modality = Qt::WindowModal,
                     int minimumDuration = 500);
