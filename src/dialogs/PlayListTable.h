#pragma once

class QTableWidget;

// The table that shows the play list beside the video area, each entry's name and duration: no
// header line, whole rows selected, nothing editable.
QTableWidget *CreatePlayListTable();
