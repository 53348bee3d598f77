/* Veltrano's skin: a Qt style sheet. Backgrounds of windows, frames and labels are left to
   the face colour the program gives them; the skin shapes buttons, fields and lists. */

QPushButton {
    color: #1b2a41;
    border: 1px solid #7d8fa8;
    border-radius: 4px;
    padding: 2px 8px;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #fdfdfe, stop:1 #dde4ee);
}
QPushButton:hover {
    border-color: #3d6fb5;
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #ffffff, stop:1 #cfdcf0);
}
QPushButton:pressed {
    background: qlineargradient(x1:0, y1:0, x2:0, y2:1, stop:0 #c4d3ea, stop:1 #e6ecf5);
}
QPushButton:focus {
    border-color: #3d6fb5;
}
QPushButton:disabled {
    color: #8a94a3;
}

QLineEdit, QComboBox {
    border: 1px solid #9aa7b8;
    border-radius: 3px;
    padding: 1px 4px;
    background: #ffffff;
    selection-background-color: #3d6fb5;
}
QLineEdit:focus, QComboBox:focus {
    border-color: #3d6fb5;
}
QComboBox:disabled {
    color: #8a94a3;
    background: #eef0f3;
}

QGroupBox {
    border: 1px solid #b3bdca;
    border-radius: 4px;
    margin-top: 8px;
}
QGroupBox::title {
    subcontrol-origin: margin;
    left: 8px;
    padding: 0 3px;
    color: #1b2a41;
}

QTreeView {
    border: 1px solid #9aa7b8;
    background: #ffffff;
    alternate-background-color: #f4f7fb;
}
QHeaderView::section {
    padding: 2px 6px;
    border: 0;
    border-right: 1px solid #c6cfdb;
    border-bottom: 1px solid #c6cfdb;
    background: #e9eef5;
}
