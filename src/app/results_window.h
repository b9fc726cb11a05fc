// "Particle Results": where each particle's runs ended, one row per particle
// and direction with its release cell, end cell, travel time and why it
// stopped. Columns sort on a click; Export writes the same table as CSV.
#pragma once

#include <QDialog>
#include <functional>
#include <string>

#include "core/user_interface.h"
#include "tracking/endpoint_table.h"

class QLabel;
class QTableWidget;

namespace kestra::app {

class ResultsWindow : public QDialog {
  Q_OBJECT

 public:
  // Why a particle's tracking ended, in the words of the table.
  using EndDescriber = std::function<std::string(const Endpoint&)>;
  ResultsWindow(const EndpointCollector& endpoints, EndDescriber describeEnd, UserInterface& ui, QWidget* parent);

  // Writes the table to `path`; false, after a message, when it cannot.
  bool ExportCsv(const QString& path);

 public slots:
  // Shows the end points as they stand now.
  void Fill();

 private:
  void export_csv_Click();

  const EndpointCollector& endpoints_;
  EndDescriber describeEnd_;
  UserInterface& ui_;
  QTableWidget* table_ = nullptr;
  QLabel* summary_ = nullptr;
};

}  // namespace kestra::app
