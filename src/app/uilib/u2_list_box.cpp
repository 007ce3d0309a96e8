#include "u2_list_box.h"

#include <QListWidget>

CU2ListBox::CU2ListBox(QListWidget* left, QListWidget* right, bool sortLeft, bool sortRight)
    : left_(left), right_(right), sortLeft_(sortLeft), sortRight_(sortRight) {}

qint64 CU2ListBox::Data(const QListWidgetItem* item) {
  return item ? item->data(kDataRole).toLongLong() : -1;
}

int CU2ListBox::Add(QListWidget* list, bool sorted, qint64 data, const QString& text) {
  int row = list->count();
  if (sorted) {
    // After the entries that compare equal, so that equal texts keep their order of adding.
    for (int i = 0; i < list->count(); ++i) {
      if (QString::compare(text, list->item(i)->text(), Qt::CaseInsensitive) < 0) {
        row = i;
        break;
      }
    }
  }
  auto* item = new QListWidgetItem(text);
  item->setData(kDataRole, data);
  list->insertItem(row, item);
  return row;
}

bool CU2ListBox::Move(QListWidget* from, QListWidget* to, bool sortTo, int index) {
  if (index < 0) {
    const QList<QListWidgetItem*> selected = from->selectedItems();
    if (selected.isEmpty()) return false;
    index = from->row(selected.first());
  }
  QListWidgetItem* item = index < from->count() ? from->item(index) : nullptr;
  if (!item) return false;
  const QString text = item->text();
  const qint64 data = Data(item);
  delete from->takeItem(index);
  Add(to, sortTo, data, text);
  return true;
}

bool CU2ListBox::MoveRight(int index) {
  return Move(left_, right_, sortRight_, index);
}

bool CU2ListBox::MoveLeft(int index) {
  return Move(right_, left_, sortLeft_, index);
}

int CU2ListBox::MoveAllRight() {
  int moved = 0;
  while (left_->count() > 0 && Move(left_, right_, sortRight_, 0)) ++moved;
  return moved;
}

int CU2ListBox::MoveAllLeft() {
  int moved = 0;
  while (right_->count() > 0 && Move(right_, left_, sortLeft_, 0)) ++moved;
  return moved;
}

int CU2ListBox::AddLeft(qint64 data, const QString& text) {
  return Add(left_, sortLeft_, data, text);
}

int CU2ListBox::AddRight(qint64 data, const QString& text) {
  return Add(right_, sortRight_, data, text);
}

void CU2ListBox::Clear() {
  left_->clear();
  right_->clear();
}
