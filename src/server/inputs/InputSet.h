#pragma once

#include "server/engine/LiveValues.h"
#include "server/inputs/InputsConfig.h"
#include "server/inputs/LiveInput.h"
#include "server/inputs/ValueTable.h"

#include <QObject>
#include <QTimer>

#include <memory>
#include <utility>
#include <vector>

namespace vexa::server {

class ServerLog;

/// The server's live inputs and the value table they feed. It puts a
/// configuration in force, keeps the inputs' rates, and answers the sample
/// step's questions about live values.
class InputSet : public QObject, public LiveValues {
    Q_OBJECT

public:
    /// The inputs, in the order the Sources window lists them; the numbers
    /// are what the value table records as a name's input.
    enum InputIndex { kLineUdpInput = 0, kLineTcpInput = 1, kJsonUdpInput = 2, kMqttInput = 3 };
    /// How often the rates are taken.
    static constexpr int kRateIntervalMs = 1000;

    explicit InputSet(ServerLog& log, QObject* parent = nullptr);
    ~InputSet() override;

    /// Puts \p config in force at once: each input starts, restarts or stops
    /// as its part changed (each logs that), and a new stale limit is logged
    /// and applies from the next sample.
    void Apply(const InputsConfig& config);
    /// Logs one line of totals for each input that received anything: what
    /// the Sources window counts. The server does so as it ends.
    void LogTotals();
    /// The configuration in force.
    const InputsConfig& config() const { return m_config; }

    const ValueTable& table() const { return m_table; }
    /// Hands every value the inputs store to \p tap as well; nullptr for none.
    void setTap(StoredValueTap* tap) { m_table.setTap(tap); }
    /// A line for the Sources window from beside the inputs: the recording's state.
    void setNotice(const QString& notice);
    const QString& notice() const { return m_notice; }
    int inputCount() const { return int(m_inputs.size()); }
    const LiveInput& input(int index) const { return *m_inputs[std::size_t(index)]; }
    /// The name of the input that the value table calls \p index; empty for none.
    QString inputName(int index) const;
    /// Adds an input that the configuration does not make (the replay): it
    /// is built from its index, the value table, the log and \p args, and
    /// listed after the others.
    template <typename Input, typename... Args>
    Input& AddInput(Args&&... args)
    {
        auto input = std::make_unique<Input>(inputCount(), m_table, m_log, std::forward<Args>(args)...);
        Input& added = *input;
        m_inputs.push_back(std::move(input));
        connect(&added, &LiveInput::stateChanged, this, &InputSet::KeepRates);
        return added;
    }

    bool hasLiveSources() const override;
    void BindLayout(const link::LayoutBlock& layout, int count) override;
    std::optional<double> LiveValueAt(int position, std::int64_t nowMs) const override;

signals:
    void noticeChanged();

private:
    void CloseSecond();
    /// Takes the rates while any input is configured.
    void KeepRates();

    ServerLog& m_log;
    ValueTable m_table;
    std::vector<std::unique_ptr<LiveInput>> m_inputs;
    InputsConfig m_config;
    QTimer m_rates;
    QString m_notice;
};

}  // namespace vexa::server
