#pragma once

#include "common/program_folder.h"

class Prompts;
class QWidget;

// At start-up, when the program folder's "Sales Log2.mdb" is an Access
// database left by an older installation: asks whether to import it. Yes
// imports it with a progress dialog (frmLegacyImport, rows done of rows in
// all) whose Cancel undoes everything, then shows a summary; No touches
// nothing. True when the folder now holds this program's database and the
// program goes on; false when it is to end (No, Cancel or a failure, each
// told to the user).
bool offerLegacyImport(const ProgramFolder &folder, Prompts &prompts, QWidget *parent = nullptr);
