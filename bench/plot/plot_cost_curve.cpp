// Turns bench_tessark's Google Benchmark JSON output into the cost curve: a
// PNG with one log-log panel per retopology size (cost per action against
// the source's triangles, one line per action, its lower bound dashed), and
// Markdown tables of the figures (ms and ratio to the lower bound).
//
//   plot_cost_curve RESULTS.json PLOT.png TABLE.md SUMMARY.md
//
// TABLE.md gets every action x retopology size x source size; SUMMARY.md the
// actions on the 10k-quad retopology mesh, for the README.

#include <cairo.h>

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Action {
    const char* benchmark;
    const char* label;
    const char* bound;  // what its lower bound is
    double r, g, b;
};

const Action kActions[] = {
    {"BM_DragSample", "drag sample", "1 ray on the source", 0.12, 0.47, 0.71},
    {"BM_PinPick", "pin press", "1 ray on the retopology mesh", 1.00, 0.50, 0.05},
    {"BM_BrushStep", "brush step", "1 ray on the source per vertex under the brush", 0.17, 0.63,
     0.17},
    {"BM_EnterPatch", "ENTER (12x12 patch)", "169 rays on the source + 1 copy of the mesh", 0.84,
     0.15, 0.16},
    {"BM_SpanChange", "span change", "13 x (v+1) rays on the source + 1 copy of the mesh", 0.58,
     0.40, 0.74},
    {"BM_UndoPatch", "undo (+ redraw)", "1 copy of the mesh", 0.55, 0.34, 0.29},
    {"BM_ViewportRefresh", "viewport refresh", "1 copy of the mesh", 0.89, 0.47, 0.76},
};

struct Point {
    double ms = 0, bound = 0, ratio = 0;
};

// figures[action][retopo][source]
using Figures = std::map<std::string, std::map<long, std::map<long, Point>>>;

//! "BM_EnterPatch/1000000/10000/manual_time" -> name and its two numbers.
bool parseName(const std::string& full, std::string& name, long& source, long& retopo) {
    std::stringstream in(full);
    std::string part;
    std::vector<std::string> parts;
    while (std::getline(in, part, '/')) parts.push_back(part);
    if (parts.size() < 3) return false;
    name = parts[0];
    try {
        source = std::stol(parts[1]);
        retopo = std::stol(parts[2]);
    } catch (...) {
        return false;
    }
    return true;
}

Figures readFigures(const std::string& path) {
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read " + path);
    const nlohmann::json results = nlohmann::json::parse(file);
    Figures figures;
    for (const auto& b : results.at("benchmarks")) {
        std::string name;
        long source = 0, retopo = 0;
        if (!b.contains("ms") || !parseName(b.at("name").get<std::string>(), name, source, retopo))
            continue;
        if (b.contains("error_occurred") && b.at("error_occurred").get<bool>()) continue;
        figures[name][retopo][source] = {b.at("ms").get<double>(), b.at("bound_ms").get<double>(),
                                         b.at("ratio").get<double>()};
    }
    return figures;
}

std::string sizeLabel(long n) {
    if (n >= 1000000) return std::to_string(n / 1000000) + "M";
    if (n >= 1000) return std::to_string(n / 1000) + "k";
    return std::to_string(n);
}

std::string fixed(double v) {
    char text[32];
    if (v >= 100)
        std::snprintf(text, sizeof text, "%.0f", v);
    else if (v >= 10)
        std::snprintf(text, sizeof text, "%.1f", v);
    else if (v >= 0.1)
        std::snprintf(text, sizeof text, "%.2f", v);
    else
        std::snprintf(text, sizeof text, "%.3f", v);
    return text;
}

std::vector<long> sourcesOf(const Figures& f) {
    std::vector<long> out;
    for (const auto& [name, byRetopo] : f)
        for (const auto& [retopo, bySource] : byRetopo)
            for (const auto& [source, p] : bySource)
                if (std::find(out.begin(), out.end(), source) == out.end()) out.push_back(source);
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<long> retoposOf(const Figures& f) {
    std::vector<long> out;
    for (const auto& [name, byRetopo] : f)
        for (const auto& [retopo, bySource] : byRetopo)
            if (std::find(out.begin(), out.end(), retopo) == out.end()) out.push_back(retopo);
    std::sort(out.begin(), out.end());
    return out;
}

void writeTables(const Figures& f, const std::string& tablePath, const std::string& summaryPath) {
    const std::vector<long> sources = sourcesOf(f), retopos = retoposOf(f);
    auto header = [&](std::ostream& out, bool withRetopo) {
        out << "| action |" << (withRetopo ? " retopology |" : "");
        for (long s : sources) out << " " << sizeLabel(s) << " triangles |";
        out << "\n|---|" << (withRetopo ? "---:|" : "");
        for (std::size_t i = 0; i < sources.size(); ++i) out << "---:|";
        out << "\n";
    };
    auto cells = [&](std::ostream& out, const std::map<long, Point>& bySource) {
        for (long s : sources) {
            auto it = bySource.find(s);
            if (it == bySource.end())
                out << " |";
            else
                out << " " << fixed(it->second.ms) << " ms (x" << fixed(it->second.ratio) << ") |";
        }
        out << "\n";
    };
    std::ofstream table(tablePath), summary(summaryPath);
    table << "CPU time per action, and in brackets its ratio to the lower bound measured in "
             "the same run.\n\n";
    header(table, true);
    for (const Action& a : kActions) {
        auto it = f.find(a.benchmark);
        if (it == f.end()) continue;
        for (long r : retopos) {
            auto byRetopo = it->second.find(r);
            if (byRetopo == it->second.end()) continue;
            table << "| " << a.label << " | " << sizeLabel(r) << " quads |";
            cells(table, byRetopo->second);
        }
    }
    table << "\nLower bounds (plain Embree on the same triangles, in the same run):\n\n";
    for (const Action& a : kActions) table << "- " << a.label << ": " << a.bound << "\n";
    const long middle = retopos.empty() ? 0 : retopos[retopos.size() / 2];
    header(summary, false);
    for (const Action& a : kActions) {
        auto it = f.find(a.benchmark);
        if (it == f.end() || !it->second.count(middle)) continue;
        summary << "| " << a.label << " |";
        cells(summary, it->second.at(middle));
    }
}

// ---------------------------------------------------------------- the plot

struct Axes {
    double x0, y0, width, height;  // the plot area in pixels (y0 at the top)
    double logXMin, logXMax, logYMin, logYMax;
    double px(double v) const {
        return x0 + (std::log10(v) - logXMin) / (logXMax - logXMin) * width;
    }
    double py(double v) const {
        return y0 + height - (std::log10(v) - logYMin) / (logYMax - logYMin) * height;
    }
};

void text(cairo_t* cr, double x, double y, const std::string& s, double size, double alignX = 0,
          bool bold = false) {
    cairo_select_font_face(cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL,
                           bold ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
    cairo_set_font_size(cr, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr, s.c_str(), &e);
    cairo_move_to(cr, x - alignX * e.x_advance, y);
    cairo_show_text(cr, s.c_str());
}

std::string powerLabel(int exponent) {
    switch (exponent) {
        case -3:
            return "0.001";
        case -2:
            return "0.01";
        case -1:
            return "0.1";
        case 0:
            return "1";
        case 1:
            return "10";
        case 2:
            return "100";
        case 3:
            return "1000";
        default:
            return "1e" + std::to_string(exponent);
    }
}

void drawPanel(cairo_t* cr, const Axes& a, const Figures& f, long retopo) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_rectangle(cr, a.x0, a.y0, a.width, a.height);
    cairo_fill(cr);
    // Decade grid and labels.
    cairo_set_line_width(cr, 1);
    for (int e = static_cast<int>(std::ceil(a.logYMin)); e <= a.logYMax; ++e) {
        const double y = a.py(std::pow(10, e));
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, a.x0, y);
        cairo_line_to(cr, a.x0 + a.width, y);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        text(cr, a.x0 - 6, y + 4, powerLabel(e), 12, 1);
    }
    for (int e = static_cast<int>(std::ceil(a.logXMin)); e <= a.logXMax; ++e) {
        const double x = a.px(std::pow(10, e));
        cairo_set_source_rgb(cr, 0.88, 0.88, 0.88);
        cairo_move_to(cr, x, a.y0);
        cairo_line_to(cr, x, a.y0 + a.height);
        cairo_stroke(cr);
        cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
        text(cr, x, a.y0 + a.height + 18, sizeLabel(static_cast<long>(std::pow(10, e))), 12, 0.5);
    }
    cairo_set_source_rgb(cr, 0.3, 0.3, 0.3);
    cairo_rectangle(cr, a.x0, a.y0, a.width, a.height);
    cairo_stroke(cr);
    text(cr, a.x0 + a.width / 2, a.y0 - 10, "retopology mesh of " + sizeLabel(retopo) + " quads",
         15, 0.5, true);
    text(cr, a.x0 + a.width / 2, a.y0 + a.height + 38, "source triangles", 13, 0.5);

    cairo_save(cr);
    cairo_rectangle(cr, a.x0, a.y0, a.width, a.height);
    cairo_clip(cr);
    for (const Action& act : kActions) {
        auto it = f.find(act.benchmark);
        if (it == f.end() || !it->second.count(retopo)) continue;
        const auto& bySource = it->second.at(retopo);
        for (bool bound : {true, false}) {
            cairo_set_source_rgb(cr, act.r, act.g, act.b);
            cairo_set_line_width(cr, bound ? 1.5 : 2.5);
            const double dash[] = {6, 4};
            cairo_set_dash(cr, dash, bound ? 2 : 0, 0);
            bool first = true;
            for (const auto& [source, p] : bySource) {
                const double v = bound ? p.bound : p.ms;
                if (v <= 0) continue;
                if (first)
                    cairo_move_to(cr, a.px(source), a.py(v));
                else
                    cairo_line_to(cr, a.px(source), a.py(v));
                first = false;
            }
            cairo_stroke(cr);
            cairo_set_dash(cr, nullptr, 0, 0);
            for (const auto& [source, p] : bySource) {
                const double v = bound ? p.bound : p.ms;
                if (v <= 0) continue;
                cairo_arc(cr, a.px(source), a.py(v), bound ? 2.5 : 4, 0, 2 * M_PI);
                cairo_fill(cr);
            }
        }
    }
    cairo_restore(cr);
}

void writePlot(const Figures& f, const std::string& path) {
    const std::vector<long> sources = sourcesOf(f), retopos = retoposOf(f);
    double lo = 1e300, hi = 0;
    for (const auto& [name, byRetopo] : f)
        for (const auto& [retopo, bySource] : byRetopo)
            for (const auto& [source, p] : bySource)
                for (double v : {p.ms, p.bound})
                    if (v > 0) lo = std::min(lo, v), hi = std::max(hi, v);
    if (sources.empty() || hi <= 0)
        throw std::runtime_error("no cost-curve figures in the results");

    const int panels = static_cast<int>(retopos.size());
    const double panelWidth = 400, panelHeight = 380, left = 90, gap = 50, top = 70;
    const int width = static_cast<int>(left + panels * panelWidth + (panels - 1) * gap + 30);
    const int height = static_cast<int>(top + panelHeight + 60 + 75);
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, width, height);
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgb(cr, 0.97, 0.97, 0.96);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
    text(cr, 20, 30,
         "Tessark: CPU time per action (ms) against source size, log-log; dashed: the "
         "action's lower bound (plain Embree on the same mesh, same run)",
         16, 0, true);

    for (int i = 0; i < panels; ++i) {
        Axes a{left + i * (panelWidth + gap),
               top,
               panelWidth,
               panelHeight,
               std::log10(static_cast<double>(sources.front())) - 0.15,
               std::log10(static_cast<double>(sources.back())) + 0.15,
               std::floor(std::log10(lo)),
               std::ceil(std::log10(hi))};
        drawPanel(cr, a, f, retopos[i]);
        if (i == 0) {
            cairo_save(cr);
            cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
            cairo_move_to(cr, 28, top + panelHeight / 2);
            cairo_rotate(cr, -M_PI / 2);
            text(cr, 0, 0, "ms per action", 13, 0.5);
            cairo_restore(cr);
        }
    }
    // The legend, in two rows below the panels.
    const double legendTop = top + panelHeight + 75;
    int k = 0;
    for (const Action& act : kActions) {
        const double x = left + (k % 4) * 330, y = legendTop + (k / 4) * 26;
        cairo_set_source_rgb(cr, act.r, act.g, act.b);
        cairo_set_line_width(cr, 2.5);
        cairo_move_to(cr, x, y - 4);
        cairo_line_to(cr, x + 28, y - 4);
        cairo_stroke(cr);
        cairo_set_line_width(cr, 1.5);
        const double dash[] = {6, 4};
        cairo_set_dash(cr, dash, 2, 0);
        cairo_move_to(cr, x + 34, y - 4);
        cairo_line_to(cr, x + 62, y - 4);
        cairo_stroke(cr);
        cairo_set_dash(cr, nullptr, 0, 0);
        cairo_set_source_rgb(cr, 0.1, 0.1, 0.1);
        text(cr, x + 70, y, act.label, 13);
        ++k;
    }
    cairo_destroy(cr);
    const cairo_status_t st = cairo_surface_write_to_png(surface, path.c_str());
    cairo_surface_destroy(surface);
    if (st != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + path + ": " + cairo_status_to_string(st));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: plot_cost_curve RESULTS.json PLOT.png TABLE.md SUMMARY.md\n";
        return 2;
    }
    try {
        const Figures figures = readFigures(argv[1]);
        writePlot(figures, argv[2]);
        writeTables(figures, argv[3], argv[4]);
    } catch (const std::exception& e) {
        std::cerr << "plot_cost_curve: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
