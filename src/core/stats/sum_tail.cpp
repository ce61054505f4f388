#include "core/stats/sum_tail.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <numbers>

namespace mirkano::stats {

namespace {

using Complex = std::complex<double>;

// Below this much work (terms × width of the sum) the direct convolution
// is cheaper than setting up a transform.
constexpr double kDirectWork = 2e6;

// A law cut to the values it can take: P(X = lo + j), j = 0 … .
struct Trimmed {
    int lo = 0;
    std::vector<double> law;
    int count = 0;
};

// The laws without their impossible ends and empty members; `shift` gets
// the least possible sum, which the caller takes off x.
std::vector<Trimmed> trim(const std::vector<RepeatedLaw>& laws, long long& shift, long long& width)
{
    std::vector<Trimmed> out;
    shift = 0;
    width = 0;
    for (const RepeatedLaw& r : laws) {
        if (r.count <= 0)
            continue;
        int lo = 0, hi = int(r.law.size()) - 1;
        while (lo <= hi && !(r.law[std::size_t(lo)] > 0))
            ++lo;
        while (hi >= lo && !(r.law[std::size_t(hi)] > 0))
            --hi;
        if (lo > hi)
            continue;  // no mass at all: nothing to add
        shift += static_cast<long long>(lo) * r.count;
        width += static_cast<long long>(hi - lo) * r.count;
        if (hi == lo)
            continue;  // a constant: only the shift
        out.push_back({lo, std::vector<double>(r.law.begin() + lo, r.law.begin() + hi + 1), r.count});
    }
    return out;
}

// In-place radix-2 transform; `inverse` without the 1/n.
void fft(std::vector<Complex>& a, bool inverse)
{
    const std::size_t n = a.size();
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; j & bit; bit >>= 1)
            j ^= bit;
        j ^= bit;
        if (i < j)
            std::swap(a[i], a[j]);
    }
    // Twiddles computed each from its angle, not by repeated multiplication,
    // so their error does not grow with n.
    std::vector<Complex> twiddle(n / 2);
    const double sign = inverse ? 1.0 : -1.0;
    for (std::size_t k = 0; k < n / 2; ++k)
        twiddle[k] = std::polar(1.0, sign * 2 * std::numbers::pi * double(k) / double(n));
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const std::size_t step = n / len;
        for (std::size_t i = 0; i < n; i += len)
            for (std::size_t j = 0; j < len / 2; ++j) {
                const Complex u = a[i + j], v = a[i + j + len / 2] * twiddle[j * step];
                a[i + j] = u + v;
                a[i + j + len / 2] = u - v;
            }
    }
}

double meanOf(const std::vector<double>& law)
{
    double m = 0;
    for (std::size_t j = 0; j < law.size(); ++j)
        m += double(j) * law[j];
    return m;
}

// The law tilted by e^(θj), normalised; logM gets log E[e^(θX)].
std::vector<double> tilt(const std::vector<double>& law, double theta, double& logM)
{
    std::vector<double> w(law.size());
    double top = -INFINITY;
    for (std::size_t j = 0; j < law.size(); ++j) {
        w[j] = law[j] > 0 ? std::log(law[j]) + theta * double(j) : -INFINITY;
        top = std::max(top, w[j]);
    }
    double z = 0;
    for (double& v : w) {
        v = std::exp(v - top);
        z += v;
    }
    for (double& v : w)
        v /= z;
    logM = top + std::log(z);
    return w;
}

}  // namespace

double sumUpperTailDirect(const std::vector<RepeatedLaw>& laws, long long x)
{
    long long shift = 0, width = 0;
    const std::vector<Trimmed> parts = trim(laws, shift, width);
    x -= shift;
    if (x <= 0)
        return 1.0;
    if (x > width)
        return 0.0;
    std::vector<double> total(std::size_t(width) + 1, 0.0), next(total.size(), 0.0);
    total[0] = 1;
    std::size_t reach = 0;  // total[v] is 0 beyond reach
    for (const Trimmed& t : parts)
        for (int c = 0; c < t.count; ++c) {
            const std::size_t grown = reach + t.law.size() - 1;
            std::fill(next.begin(), next.begin() + std::ptrdiff_t(grown) + 1, 0.0);
            for (std::size_t a = 0; a <= reach; ++a)
                if (total[a] != 0)
                    for (std::size_t b = 0; b < t.law.size(); ++b)
                        next[a + b] += total[a] * t.law[b];
            reach = grown;
            std::swap(total, next);
        }
    double tail = 0;
    for (std::size_t v = std::size_t(x); v <= reach; ++v)
        tail += total[v];
    return std::clamp(tail, 0.0, 1.0);
}

double sumUpperTailFourier(const std::vector<RepeatedLaw>& laws, long long x)
{
    long long shift = 0, width = 0;
    const std::vector<Trimmed> parts = trim(laws, shift, width);
    x -= shift;
    if (x <= 0)
        return 1.0;
    if (x > width)
        return 0.0;
    if (x == width) {  // every term at its largest value
        double logP = 0;
        for (const Trimmed& t : parts)
            logP += t.count * std::log(t.law.back());
        return std::exp(logP);
    }

    // θ ≥ 0 with the tilted mean at x (0 when x is not above the mean).
    const auto tiltedMean = [&](double theta) {
        double m = 0, unused = 0;
        for (const Trimmed& t : parts)
            m += t.count * meanOf(tilt(t.law, theta, unused));
        return m;
    };
    double theta = 0;
    if (tiltedMean(0) < double(x)) {
        double lo = 0, hi = 1;
        while (tiltedMean(hi) < double(x) && hi < 1e3)
            hi *= 2;
        for (int i = 0; i < 100 && hi - lo > 1e-12 * hi; ++i) {
            const double mid = (lo + hi) / 2;
            (tiltedMean(mid) < double(x) ? lo : hi) = mid;
        }
        theta = (lo + hi) / 2;
    }
    std::vector<std::vector<double>> tilted;
    double logM = 0;
    for (const Trimmed& t : parts) {
        double one = 0;
        tilted.push_back(tilt(t.law, theta, one));
        logM += t.count * one;
    }

    std::size_t n = 1;
    while (n < std::size_t(width) + 1)
        n <<= 1;
    // The tilted sum's characteristic function at the n points, as the
    // product of each law's to the power of its count (in logarithms, so a
    // count of thousands costs no more than one).
    std::vector<Complex> spectrum(n);
    for (std::size_t k = 0; k <= n / 2; ++k) {
        const Complex w = std::polar(1.0, -2 * std::numbers::pi * double(k) / double(n));
        double logMagnitude = 0, phase = 0;
        bool vanishes = false;
        for (std::size_t i = 0; i < parts.size() && !vanishes; ++i) {
            const std::vector<double>& g = tilted[i];
            Complex z = g.back();
            for (std::size_t j = g.size() - 1; j-- > 0;)
                z = z * w + g[j];
            const double magnitude = std::abs(z);
            if (magnitude == 0) {
                vanishes = true;
                break;
            }
            logMagnitude += parts[i].count * std::log(magnitude);
            phase = std::remainder(phase + std::remainder(parts[i].count * std::arg(z), 2 * std::numbers::pi),
                                   2 * std::numbers::pi);
            vanishes = logMagnitude < -745;
        }
        spectrum[k] = vanishes ? Complex{} : std::polar(std::exp(logMagnitude), phase);
        if (k > 0 && k < n / 2)
            spectrum[n - k] = std::conj(spectrum[k]);
    }
    fft(spectrum, true);

    // Back from the tilted law: P(S = v) = P_θ(S = v) · e^(logM − θv).
    double tail = 0;
    for (long long v = x; v <= width; ++v) {
        const double tiltedP = spectrum[std::size_t(v)].real() / double(n);
        if (tiltedP > 0)
            tail += tiltedP * std::exp(logM - theta * double(v));
    }
    return std::clamp(tail, 0.0, 1.0);
}

double sumUpperTail(const std::vector<RepeatedLaw>& laws, long long x)
{
    double terms = 0, width = 0;
    for (const RepeatedLaw& r : laws) {
        terms += std::max(r.count, 0);
        width += double(std::max(r.count, 0)) * double(r.law.size());
    }
    return terms * width <= kDirectWork ? sumUpperTailDirect(laws, x) : sumUpperTailFourier(laws, x);
}

}  // namespace mirkano::stats
