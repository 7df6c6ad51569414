#pragma once

#include <QString>

// The window's look. The runs of tabs and spaces inside these sheets are part of them: they
// stand exactly where the pieces were joined.
namespace StyleSheets {

QString CentralBackground();
QString MenuStrip();
QString StartPageButton();
QString MenuButton();
QString PopupMenu();
QString DiscMenu();
QString SeekSlider();
QString VolumeSlider();
QString TimeLabel();
QString ButtonRow();
QString FileNameBox();
QString Transparent();
QString PlayListTable();
QString DialogTitleBar();
QString MessageBoxOkButton();
QString DialogTextButton();

} // namespace StyleSheets
