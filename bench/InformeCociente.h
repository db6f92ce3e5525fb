#pragma once
// A console report that ends with the ratios of chosen pairs of runs, measured in the same run
// (the medians when there are repetitions), so figures can be quoted as "ours against baseline".
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

class InformeCociente : public benchmark::ConsoleReporter {
  public:
    struct Par {
        std::string titulo, numerador, denominador;
        double escala = 1; // the ratio is multiplied by it (sizes, for a ratio per megabyte)
    };
    void Agregar(Par par) { pares_.push_back(std::move(par)); }

    InformeCociente() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const auto& r : runs) {
            const bool unica = r.run_type == Run::RT_Iteration && r.repetitions <= 1;
            const bool mediana = r.run_type == Run::RT_Aggregate && r.aggregate_name == "median";
            if ((unica || mediana) && !r.error_occurred)
                tiempos_[r.run_name.str()] = r.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const Par& p : pares_)
            if (tiempos_.count(p.numerador) && tiempos_.count(p.denominador))
                std::printf("%s = %.3f\n", p.titulo.c_str(),
                            p.escala * tiempos_[p.numerador] / tiempos_[p.denominador]);
    }

  private:
    std::vector<Par> pares_;
    std::map<std::string, double> tiempos_;
};
