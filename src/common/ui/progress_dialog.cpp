#include "common/ui/progress_dialog.h"

void prepareProgress(QProgressDialog &progress, const QString &objectName, const QString &title,
                     const QString &label, Qt::WindowModality modality, int minimumDuration)
{
    progress.setObjectName(objectName);
    progress.setWindowTitle(title);
    progress.setLabelText(label);
    progress.setCancelButtonText(QStringLiteral("Cancel"));
    progress.setWindowModality(modality);
    progress.setMinimumDuration(minimumDuration);
    progress.setAutoReset(false);
}
