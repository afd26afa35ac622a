// Declarations of the Qt widget classes (and the few other Qt classes) that
// the dialog headers hold pointers to, so that a header names them with one
// include instead of a list of its own; the source includes the real
// headers.
#pragma once

class QAction;
class QBoxLayout;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFileSystemModel;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QListView;
class QListWidget;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;
class QTableWidget;
class QTreeView;
class QVBoxLayout;
class QWidget;
