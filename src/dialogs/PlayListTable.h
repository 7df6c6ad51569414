#pragma once

class QTableWidget;

// The one-column table that shows the play list beside the video area: no header line, whole
// rows selected, nothing editable.
QTableWidget *CreatePlayListTable();
