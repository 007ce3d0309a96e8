#pragma once
// Two list boxes of a dialog whose entries move between them: the left one (L) and the right
// one (R). Each entry keeps its text and its item data on the way.
#include <QString>
#include <QtGlobal>

class QListWidget;
class QListWidgetItem;

class CU2ListBox {
 public:
  // Where an entry's item data is kept.
  static constexpr int kDataRole = Qt::UserRole;

  // Neither list is owned. A sorted list keeps its entries in the order of their texts (case
  // is ignored), as a sorted list box does; an unsorted one appends.
  CU2ListBox(QListWidget* left, QListWidget* right, bool sortLeft = true, bool sortRight = true);

  QListWidget* Left() const { return left_; }
  QListWidget* Right() const { return right_; }

  // Moves the entry at `index` (-1: the selected one) from L to R or from R to L. False when
  // there is no such entry (a move without selection does nothing).
  bool MoveRight(int index = -1);
  bool MoveLeft(int index = -1);
  // Moves every entry; the number moved.
  int MoveAllRight();
  int MoveAllLeft();

  // Adds an entry; the row it got.
  int AddLeft(qint64 data, const QString& text);
  int AddRight(qint64 data, const QString& text);
  // Empties both lists.
  void Clear();

  static qint64 Data(const QListWidgetItem* item);

 private:
  static bool Move(QListWidget* from, QListWidget* to, bool sortTo, int index);
  static int Add(QListWidget* list, bool sorted, qint64 data, const QString& text);

  QListWidget* left_;
  QListWidget* right_;
  bool sortLeft_;
  bool sortRight_;
};
