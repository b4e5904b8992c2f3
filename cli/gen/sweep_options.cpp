#include "cli/gen/sweep_options.hpp"

#include <algorithm>
#include <cstdint>
#include <span>
#include <thread>

#include "cli/gen/generation_options.hpp"
#include "cli/gen/output_template.hpp"
#include "cli/gen/run_configuration.hpp"
#include "cli/gen/sweep_expansion.hpp"
#include "cli/gen/sweep_manifest.hpp"
#include "cli/gen/sweep_runner.hpp"
#include "cli/gen/usage_error.hpp"
#include "common/durable_file.hpp"
#include "common/errors.hpp"

namespace dot11b::cli {
namespace {

constexpr int kSuccess = 0;
constexpr int kFailure = 1;

// The generator options that take a value: what a sweep may vary.
void check_field(const std::string& field, std::span<const std::string> args) {
    CLI::App scratch;
    GenerationOptions generation;
    generation.add_to(scratch);
    std::string allowed;
    for (const CLI::Option* option : scratch.get_options()) {
        if (option->get_expected_min() > 0 && !option->get_lnames().empty()) {
            allowed += (allowed.empty() ? "" : ", ") + option->get_lnames().front();
        }
    }
    const CLI::Option* option = scratch.get_option_no_throw("--" + field);
    if (option == nullptr || option->get_expected_min() == 0) {
        throw UsageError("--sweep " + field + ": not a generator option that takes a value; allowed: " + allowed);
    }
    const std::string name = "--" + field;
    const auto names_it = [&](const std::string& a) { return a == name || a.starts_with(name + "="); };
    if (std::any_of(args.begin(), args.end(), names_it)) {
        throw UsageError("--sweep " + field + ": also given as " + name + "; give its values in the sweep only");
    }
}

struct PointOptions {
    WaveformOptions waveform;
    OutputOptions options;
    DownloadOptions download;
    SweepOptions sweep;
};

// The command line parsed again with the swept options added. Throws
// ConfigError naming the combination when a swept value is refused.
PointOptions parse_point(std::span<const std::string> args, const SweepPoint& point) {
    PointOptions parsed;
    CLI::App app;
    parsed.waveform.add_to(app);
    parsed.options.add_to(app);
    parsed.download.add_to(app);
    parsed.sweep.add_to(app);
    std::vector<std::string> reversed;  // CLI11 takes the arguments last first
    for (auto it = point.rbegin(); it != point.rend(); ++it) {
        reversed.push_back(it->second);
        reversed.push_back("--" + it->first);
    }
    reversed.insert(reversed.end(), args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        throw UsageError("--sweep " + point_text(point) + ": " + e.what());
    }
    return parsed;
}

// The records of one combination, configured as a single run is. Throws
// ConfigError when the options refuse the combination.
SweepJob configure(const PointOptions& parsed) {
    RunConfiguration run = configure_run(parsed.waveform, parsed.download);
    SweepJob job;
    job.parameters = std::move(run.parameters);
    job.settings = std::move(run.settings);
    job.impairments = run.impairments;
    return job;
}

void refuse_with_sweep(bool given, const std::string& option) {
    if (given) throw UsageError(option + ": not available with --sweep");
}

}  // namespace

void SweepOptions::add_to(CLI::App& app) {
    auto* sweep = app.add_option("--sweep", sweeps,
                                 "FIELD=V1,V2,...: one waveform per value (repeatable: every combination); "
                                 "-o names take {FIELD}");
    app.add_option("--manifest", manifest, "with --sweep: a CSV of every file written and its configuration")
        ->needs(sweep);
}

int run_sweep(const SweepOptions& sweep, const OutputOptions& options, const DownloadOptions& download,
              std::span<const std::string> args, std::ostream& err) {
    refuse_with_sweep(download.requested(), "--download");
    refuse_with_sweep(options.estimate, "--estimate");
    refuse_with_sweep(options.json, "--json");
    refuse_with_sweep(options.save_params.has_value(), "--save-params");
    if (options.outputs.empty() && !options.markers) throw UsageError("--sweep: give the output names with -o");

    std::vector<Sweep> sweeps;
    for (const auto& entry : sweep.sweeps) {
        sweeps.push_back(parse_sweep(entry));
        check_field(sweeps.back().field, args);
    }
    const std::vector<SweepPoint> points = expand_sweeps(sweeps);

    // Everything is configured and every name checked before anything is written.
    std::vector<SweepJob> jobs;
    std::vector<std::size_t> job_point;
    std::vector<PlannedFile> planned;
    std::vector<std::string> skipped;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const PointOptions parsed = parse_point(args, points[i]);
        SweepJob job;
        try {
            job = configure(parsed);
        } catch (const ConfigError& e) {
            skipped.push_back(point_text(points[i]) + ": " + e.what());
            continue;
        }
        for (const auto& name : options.outputs) {
            job.outputs.emplace_back(expand_template(name, points[i]));
            planned.push_back({job.outputs.back(), i});
        }
        if (options.markers) {
            job.markers = expand_template(*options.markers, points[i]);
            planned.push_back({*job.markers, i});
        }
        jobs.push_back(std::move(job));
        job_point.push_back(i);
    }
    std::vector<SweepPoint> described = points;
    if (sweep.manifest) {
        planned.push_back({*sweep.manifest, points.size()});
        described.push_back({{"manifest", *sweep.manifest}});
    }
    refuse_duplicate_files(planned, described);

    const std::vector<SweepResult> results = run_sweep_jobs(jobs, std::thread::hardware_concurrency());

    std::vector<ManifestRow> rows;
    std::size_t failed = 0;
    for (std::size_t j = 0; j < jobs.size(); ++j) {
        const SweepResult& result = results[j];
        if (!result.failure.empty()) {
            err << "failed:           " << point_text(points[job_point[j]]) << ": " << result.failure << '\n';
            ++failed;
        }
        for (const auto& path : result.written) {
            err << "wrote:            " << path.string() << '\n';
            rows.push_back({path, &jobs[j].parameters, jobs[j].settings.sampling_rate, result.samples,
                            jobs[j].parameters.projected_length});
        }
    }
    for (const auto& line : skipped) err << "skipped:          " << line << '\n';
    if (sweep.manifest) {
        const std::string csv = manifest_csv(rows);
        write_file_durably(*sweep.manifest, std::span(reinterpret_cast<const std::uint8_t*>(csv.data()), csv.size()));
        err << "wrote:            " << *sweep.manifest << '\n';
    }
    err << "sweep:            " << points.size() << " combinations, " << jobs.size() - failed << " written, "
        << skipped.size() << " skipped, " << failed << " failed\n";
    return failed == 0 ? kSuccess : kFailure;
}

}  // namespace dot11b::cli
