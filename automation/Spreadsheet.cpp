// This file implements the spreadsheet object model: the application, its workbooks, their
// worksheets in order with the active one, and the cells they hold in memory.
#include "Spreadsheet.h"

#include <algorithm>
#include <cassert>
#include <cctype>
#include <cmath>
#include <cstring>

#include "TextOrder.h"
#include "XlsxWriter.h"

namespace {

const String GeneralFormat = "General";

// French name of new sheets: "Feuille1", "Feuille2", ...
const String SheetNamePrefix = "Feuille";

}  // namespace

// ---------------------------------------------------------------------------------------------
// The A1 notation.

String ColumnLetters(int Column) {
  String Letters;
  for (int n = Column; n > 0; n = (n - 1) / 26)
    Letters.insert(Letters.begin(), static_cast<char>('A' + (n - 1) % 26));
  return Letters;
}

bool ParseCellReference(const String& Reference, int& Row, int& Column) {
  std::size_t i = 0, n = Reference.size();
  if (i < n && Reference[i] == '$') ++i;
  long long c = 0;
  std::size_t Start = i;
  while (i < n && std::isalpha(static_cast<unsigned char>(Reference[i])) && i - Start < 3)
    c = c * 26 + (std::toupper(static_cast<unsigned char>(Reference[i++])) - 'A' + 1);
  if (i == Start) return false;
  if (i < n && Reference[i] == '$') ++i;
  long long r = 0;
  Start = i;
  while (i < n && std::isdigit(static_cast<unsigned char>(Reference[i])) && i - Start < 8)
    r = r * 10 + (Reference[i++] - '0');
  if (i == Start || i != n || Reference[Start] == '0') return false;
  if (r < 1 || r > MaxSpreadsheetRows || c < 1 || c > MaxSpreadsheetColumns) return false;
  Row = static_cast<int>(r);
  Column = static_cast<int>(c);
  return true;
}

bool IsDateTimeFormat(const String& Format) {
  if (SameText(Format, GeneralFormat)) return false;
  for (std::size_t i = 0; i < Format.size(); ++i) {
    char Ch = static_cast<char>(std::tolower(static_cast<unsigned char>(Format[i])));
    if (Ch == '"') {  // quoted text
      while (++i < Format.size() && Format[i] != '"') {
      }
    } else if (Ch == '[') {  // colour or condition, except the elapsed-time codes [h] [m] [s]
      std::size_t Close = Format.find(']', i);
      if (Close == String::npos) return false;
      String Inner = Format.substr(i + 1, Close - i - 1);
      if (!Inner.empty() && std::strchr("hHmMsS", Inner[0])) return true;
      i = Close;
    } else if (Ch == '\\' || Ch == '_' || Ch == '*') {  // an escaped or padding character
      ++i;
    } else if (Ch == 'd' || Ch == 'm' || Ch == 'y' || Ch == 'h' || Ch == 's') {
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// TCellRange

TCellRange::TCellRange(TWorksheet* Sheet, int Row, int Column, int LastRow, int LastColumn)
    : FSheet(Sheet), FRow(Row), FColumn(Column), FLastRow(LastRow), FLastColumn(LastColumn) {}

bool TCellRange::IsWholeSheet() const {
  return FRow == 1 && FColumn == 1 && FLastRow == MaxSpreadsheetRows &&
         FLastColumn == MaxSpreadsheetColumns;
}

void TCellRange::CheckSingleCell(const char* What) const {
  FSheet->CheckAlive();
  if (FRow != FLastRow || FColumn != FLastColumn)
    throw EAutomationError(String("La propriété "_a) + What +
                           " ne s'applique qu'à une seule cellule"_a);
}

String TCellRange::GetNumberFormat() const {
  CheckSingleCell("NumberFormat");
  TSheetCell* Cell = FSheet->FindCell(FRow, FColumn);
  return FSheet->FWorkbook->FFormats[Cell ? Cell->Format : 0];
}

void TCellRange::SetNumberFormat(const String& Format) {
  CheckSingleCell("NumberFormat");
  std::uint16_t Index = FSheet->FWorkbook->FormatIndex(Format);
  if (TSheetCell* Cell = FSheet->FindCell(FRow, FColumn))
    Cell->Format = Index;
  else if (Index != 0)
    FSheet->GetCell(FRow, FColumn).Format = Index;
}

Variant TCellRange::GetValue() const {
  CheckSingleCell("Value");
  TSheetCell* Cell = FSheet->FindCell(FRow, FColumn);
  return Cell ? Cell->Value : Variant();
}

void TCellRange::SetValue(const Variant& Value) {
  CheckSingleCell("Value");
  String Where = ColumnLetters(FColumn) + std::to_string(FRow);
  TVarType Type = Value.Type();
  if (Type == varEmpty || Type == varNull) {
    if (TSheetCell* Cell = FSheet->FindCell(FRow, FColumn)) Cell->Value = Variant();
    return;
  }
  if (VarIsArray(Value))
    throw EAutomationError("La cellule " + Where + " ne peut recevoir un tableau de valeurs");
  if (Type == varString) {
    const String& Text = Value.AsString();
    if (Text.size() > static_cast<std::size_t>(MaxCellTextLength))
      throw EAutomationError("Le texte de la cellule " + Where + " dépasse "_a +
                             std::to_string(MaxCellTextLength) + " caractères"_a);
  } else if (VarIsNumeric(Value) || Type == varDate) {
    if (!std::isfinite(Value.AsDouble()))
      throw EAutomationError("La cellule " + Where + " ne peut recevoir un nombre infini");
  } else if (Type != varBoolean) {
    throw EAutomationError("La cellule " + Where + " ne peut recevoir une valeur de type " +
                           VarTypeAsText(Type));
  }
  FSheet->GetCell(FRow, FColumn).Value = Value;
}

double TCellRange::GetRowHeight() const {
  FSheet->CheckAlive();
  if (IsWholeSheet() || static_cast<std::size_t>(FRow) > FSheet->FRowHeights.size() ||
      FSheet->FRowHeights[FRow - 1] == 0)
    return FSheet->FDefaultRowHeight;
  return FSheet->FRowHeights[FRow - 1];
}

void TCellRange::SetRowHeight(double Height) {
  FSheet->CheckAlive();
  if (!(Height >= 0 && Height <= 409))
    throw EAutomationError("Hauteur de ligne impossible : "_a + std::to_string(Height));
  if (IsWholeSheet()) {
    FSheet->FDefaultRowHeight = Height;
    FSheet->FRowHeights.clear();
    return;
  }
  if (FSheet->FRowHeights.size() < static_cast<std::size_t>(FLastRow))
    FSheet->FRowHeights.resize(FLastRow, 0.0);
  std::fill(FSheet->FRowHeights.begin() + (FRow - 1), FSheet->FRowHeights.begin() + FLastRow,
            Height);
}

void TCellRange::Select() {
  FSheet->CheckAlive();
  if (IsWholeSheet()) {
    FSheet->FSelRow = FSheet->FSelColumn = FSheet->FSelLastRow = FSheet->FSelLastColumn = 0;
  } else {
    FSheet->FSelRow = FRow;
    FSheet->FSelColumn = FColumn;
    FSheet->FSelLastRow = FLastRow;
    FSheet->FSelLastColumn = FLastColumn;
  }
}

// ---------------------------------------------------------------------------------------------
// TWorksheet

TWorksheet::TWorksheet(TWorkbook* Workbook, const String& Name) : FWorkbook(Workbook), FName(Name) {}

void TWorksheet::CheckAlive() const {
  FWorkbook->CheckOpen();
  if (FDeleted) throw EAutomationError("La feuille " + FName + " a été supprimée"_a);
}

void TWorksheet::SetName(const String& Name) {
  CheckAlive();
  String Why;
  if (Name.empty())
    Why = "il est vide";
  else if (Name.size() > static_cast<std::size_t>(MaxSheetNameLength))
    Why = "il dépasse 31 caractères"_a;
  else if (Name.find_first_of(":\\/?*[]") != String::npos)
    Why = "il contient l'un des caractères : \\ / ? * [ ]"_a;
  else if (Name.front() == '\'' || Name.back() == '\'')
    Why = "il commence ou finit par une apostrophe";
  else
    for (TWorksheet* Other : FWorkbook->FOrder)
      if (Other != this && AnsiSameText(Other->FName, Name)) {
        Why = "une autre feuille porte ce nom";
        break;
      }
  if (!Why.empty()) throw EAutomationError("Nom de feuille impossible \"" + Name + "\" : " + Why);
  FName = Name;
}

TCellRange TWorksheet::Range(const String& Reference) {
  CheckAlive();
  int Row = 0, Column = 0;
  if (!ParseCellReference(Reference, Row, Column))
    throw EAutomationError("Référence de cellule incorrecte : \""_a + Reference + "\"");
  return TCellRange(this, Row, Column, Row, Column);
}

TCellRange TWorksheet::Cells() {
  CheckAlive();
  return TCellRange(this, 1, 1, MaxSpreadsheetRows, MaxSpreadsheetColumns);
}

void TWorksheet::Delete() {
  CheckAlive();
  auto& Order = FWorkbook->FOrder;
  if (Order.size() == 1)
    throw EAutomationError("La feuille " + FName +
                           " est la seule du classeur : elle ne peut être supprimée"_a);
  int Position = FWorkbook->PositionOf(this);
  Order.erase(Order.begin() + Position);
  // The next sheet takes the place of the active one, or the previous when it was the last.
  if (FWorkbook->FActive == this)
    FWorkbook->FActive = Order[std::min<std::size_t>(Position, Order.size() - 1)];
  FDeleted = true;
  Release();
  assert(FWorkbook->Consistent());
}

void TWorksheet::Move(TWorksheet* Before) {
  CheckAlive();
  if (!Before || Before->FWorkbook != FWorkbook || Before->FDeleted)
    throw EAutomationError("La feuille " + FName +
                           " ne peut être déplacée que devant une feuille du même classeur"_a);
  if (Before == this) return;
  auto& Order = FWorkbook->FOrder;
  Order.erase(Order.begin() + FWorkbook->PositionOf(this));
  Order.insert(Order.begin() + FWorkbook->PositionOf(Before), this);
  assert(FWorkbook->Consistent());
}

void TWorksheet::Activate() {
  CheckAlive();
  FWorkbook->FActive = this;
}

TSheetCell* TWorksheet::FindCell(int Row, int Column) {
  if (static_cast<std::size_t>(Row) > FRows.size()) return nullptr;
  auto& Cells = FRows[Row - 1];
  if (static_cast<std::size_t>(Column) > Cells.size()) return nullptr;
  return &Cells[Column - 1];
}

TSheetCell& TWorksheet::GetCell(int Row, int Column) {
  if (FRows.size() < static_cast<std::size_t>(Row)) FRows.resize(Row);
  auto& Cells = FRows[Row - 1];
  if (Cells.size() < static_cast<std::size_t>(Column)) Cells.resize(Column);
  return Cells[Column - 1];
}

void TWorksheet::Release() {
  std::vector<std::vector<TSheetCell>>().swap(FRows);
  std::vector<double>().swap(FRowHeights);
}

// ---------------------------------------------------------------------------------------------
// TWorksheets

int TWorksheets::Count() const {
  FWorkbook->CheckOpen();
  return static_cast<int>(FWorkbook->FOrder.size());
}

TWorksheet* TWorksheets::Add() {
  FWorkbook->CheckOpen();
  TWorksheet* Sheet = FWorkbook->NewSheet(FWorkbook->PositionOf(FWorkbook->FActive));
  FWorkbook->FActive = Sheet;
  assert(FWorkbook->Consistent());
  return Sheet;
}

TWorksheet* TWorksheets::Item(int Index) {
  FWorkbook->CheckOpen();
  if (Index < 1 || Index > Count())
    throw EAutomationError("Le classeur n'a pas de feuille " + std::to_string(Index) + " (il en a " +
                           std::to_string(Count()) + ")");
  return FWorkbook->FOrder[Index - 1];
}

TWorksheet* TWorksheets::Item(const String& Name) {
  FWorkbook->CheckOpen();
  for (TWorksheet* Sheet : FWorkbook->FOrder)
    if (AnsiSameText(Sheet->GetName(), Name)) return Sheet;
  throw EAutomationError("Le classeur n'a pas de feuille " + Name);
}

// ---------------------------------------------------------------------------------------------
// TWorkbook

TWorkbook::TWorkbook(TSpreadsheet* Application, int SheetCount) : FApplication(Application) {
  for (int i = 0; i < std::max(SheetCount, 1); ++i) NewSheet(i);
  FActive = FOrder.front();
}

TWorkbook::~TWorkbook() = default;

bool TWorkbook::Consistent() const {
  if (FOrder.empty() || std::find(FOrder.begin(), FOrder.end(), FActive) == FOrder.end()) return false;
  std::size_t Live = 0;
  for (const auto& Sheet : FOwned) {
    if (Sheet->FDeleted) continue;
    ++Live;
    if (std::count(FOrder.begin(), FOrder.end(), Sheet.get()) != 1) return false;
  }
  return Live == FOrder.size();
}

void TWorkbook::CheckOpen() const {
  if (FClosed) throw EAutomationError("Le classeur est fermé"_a);
}

TWorksheets* TWorkbook::Worksheets() {
  CheckOpen();
  return &FWorksheets;
}

TWorksheet* TWorkbook::ActiveSheet() {
  CheckOpen();
  return FActive;
}

void TWorkbook::Close(bool SaveChanges, const String& FileName) {
  CheckOpen();
  if (SaveChanges) {
    if (FileName.empty())
      throw EAutomationError("Le classeur ne peut être enregistré : aucun nom de fichier"_a);
    WriteXlsx(*this, FileName);
  }
  FClosed = true;
  for (auto& Sheet : FOwned) Sheet->Release();
}

TWorksheet* TWorkbook::NewSheet(int Position) {
  FOwned.push_back(std::make_unique<TWorksheet>(this, NextSheetName()));
  TWorksheet* Sheet = FOwned.back().get();
  FOrder.insert(FOrder.begin() + Position, Sheet);
  return Sheet;
}

String TWorkbook::NextSheetName() {
  for (;;) {
    String Name = SheetNamePrefix + std::to_string(++FLastSheetNumber);
    if (std::none_of(FOrder.begin(), FOrder.end(),
                     [&](const TWorksheet* Sheet) { return AnsiSameText(Sheet->GetName(), Name); }))
      return Name;
  }
}

int TWorkbook::PositionOf(const TWorksheet* Sheet) const {
  auto It = std::find(FOrder.begin(), FOrder.end(), Sheet);
  assert(It != FOrder.end());
  return static_cast<int>(It - FOrder.begin());
}

std::uint16_t TWorkbook::FormatIndex(const String& Format) {
  if (Format.empty() || SameText(Format, GeneralFormat)) return 0;
  auto It = std::find(FFormats.begin(), FFormats.end(), Format);
  if (It != FFormats.end()) return static_cast<std::uint16_t>(It - FFormats.begin());
  if (FFormats.size() >= 0xFFFF) throw EAutomationError("Trop de formats de nombre différents"_a);
  FFormats.push_back(Format);
  return static_cast<std::uint16_t>(FFormats.size() - 1);
}

// ---------------------------------------------------------------------------------------------
// TWorkbooks, TSpreadsheet

int TWorkbooks::Count() const {
  return static_cast<int>(std::count_if(FOwned.begin(), FOwned.end(),
                                        [](const auto& Book) { return !Book->IsClosed(); }));
}

TWorkbook* TWorkbooks::Add() {
  FOwned.push_back(std::make_unique<TWorkbook>(FApplication, FApplication->SheetsInNewWorkbook));
  return FOwned.back().get();
}

TWorkbook* TWorkbooks::Item(int Index) {
  int n = 0;
  for (auto& Book : FOwned)
    if (!Book->IsClosed() && ++n == Index) return Book.get();
  throw EAutomationError("Il n'y a pas de classeur ouvert " + std::to_string(Index));
}

void TSpreadsheet::Quit() {
  for (auto& Book : FWorkbooks.FOwned)
    if (!Book->IsClosed()) Book->Close(false);
}
