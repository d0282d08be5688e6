#pragma once

// The design basis window: the engineer's deflection limits, the imposed
// load, the floor vibration check with its live results, and the rules,
// table and sizes, each field a control of its kind from the basis table,
// greyed while the check does not use it. Modeless, one instance;
// every accepted change is a change to the design in force and re-runs the
// main window's check. Only "Use as Default for New Designs" keeps anything.

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <QLocale>
#include <QWidget>

#include "engine/design_basis.h"
#include "engine/joist_design.h"

class QBoxLayout;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace document {
class SettingsFile;
}

namespace ui {

class FrmDesignBasis : public QWidget
{
    Q_OBJECT

public:
    using BasisChanged = std::function<void(const joist::DesignBasis&)>;

    // Shows `basis`, the one in force; `settings` receives the defaults for
    // new designs when the user asks, and nothing else.
    FrmDesignBasis(const joist::DesignBasis& basis, QLocale locale,
                   document::SettingsFile& settings, BasisChanged changed,
                   QWidget* parent = nullptr);
    ~FrmDesignBasis() override;

    const joist::DesignBasis& basis() const { return basis_; }

    // Puts a basis in force as if the user had entered it: shown and passed
    // on (a design opened or begun). Nothing is stored.
    void applyBasis(const joist::DesignBasis& basis);

    // The vibration values of the last completed check, or dashes when the
    // check had no vibration or the results are out of date; and whether the
    // design's class table presumes kcr in shear, which keeps kcr in force.
    void showResults(const std::optional<joist::JoistDesign>& checked, bool tablePresumesKcr);

signals:
    // The basis in force is now the default for new designs, not yet written
    // to the settings file.
    void defaultsStored();

private:
    void build();
    QGroupBox* groupBox(joist::BasisGroup group, const QString& title);
    void layOutLimits(QGroupBox* box, QBoxLayout* layout, std::vector<std::size_t>& inBox);
    QWidget* makeControl(std::size_t field, QWidget* box);
    QComboBox* partitionBandList(QLineEdit* partitions, QWidget* box);
    QGroupBox* resultsBox();
    void fill();
    void onEdited(std::size_t field);
    void onFlagOrChoice();
    void showInForce();
    void showPartitionBand(const QString& allowance);
    void restoreDefaults();
    void useAsDefault();
    void showDefaultState();
    void accept(const joist::DesignBasis& basis);
    void showMessages();

    joist::DesignBasis basis_;
    QLocale locale_;
    std::string separator_;
    document::SettingsFile& settings_;
    BasisChanged changed_;
    bool filling_ = false;
    bool tablePresumesKcr_ = false;

    // By row of the basis table: a line edit, check box or list; and why
    // each text is refused, empty when accepted.
    std::vector<QWidget*> controls_;
    std::vector<std::string> problems_;
    QComboBox* partitionBandCmb_ = nullptr; // the allowances of EN 1991-1-1, beside the typed one
    QPushButton* restoreDefaultsBtn_ = nullptr; // the program's defaults, for this design
    QPushButton* useAsDefaultBtn_ = nullptr;
    QLabel* messageLbl_ = nullptr;
    std::array<QLabel*, 9> resultLbls_{}; // f1, w, a, b, v, v limit, ratios of f1, w, v
};

} // namespace ui
