#include "music.h"

#include "synth.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

namespace {
constexpr double kBpm = 130.0;
constexpr double kStep = 60.0 / kBpm / 4; // a sixteenth note

// Frequencies the scenes listen to, as spectrum entries of 44100 / 1024 Hz.
constexpr double kTomHz = 7 * 44100.0 / 1024;   // entry 7: the greetings pulse
constexpr double kSnareHz = 5.5 * 44100.0 / 1024; // between entries, so it feeds none of them

// Per-sample factor of an exponential decay with time constant tau seconds.
double DecayFactor(double tau)
{
    return std::exp(-1.0 / (tau * kSampleRate));
}

size_t Frame(double seconds)
{
    return static_cast<size_t>(std::max(0.0, seconds) * kSampleRate + 0.5);
}

// Gain that takes the last 5 ms of a voice's buffer down to zero, so no voice ends in a click.
float Taper(size_t i, size_t frames)
{
    const size_t left = frames - i;
    return left >= 220 ? 1.0f : static_cast<float>(left) / 220.0f;
}

// The mix: dry buses, sends to delay and reverb, and the kick's ducking curve.
// The sends are mono: the delay and the reverb make their own stereo.
struct MonoSend {
    explicit MonoSend(size_t frames) : samples(frames, 0.0f) {}
    void Add(size_t i, float v, float /*pan*/)
    {
        if (i < samples.size())
            samples[i] += v;
    }
    std::vector<float> samples;
};

struct Mix {
    explicit Mix(size_t frames) : drums(frames), music(frames), delaySend(frames), reverbSend(frames), duck(frames, 1.0f)
    {
    }
    StereoBus drums;           // not ducked
    StereoBus music;           // bass, pads, leads: ducked under the kick
    StereoBus &bass = music;
    MonoSend delaySend, reverbSend;
    std::vector<float> duck; // gain applied to the music bus (sidechain pumping)
};

// ---- drums -----------------------------------------------------------------

void Kick(Mix &mix, double at, float gain)
{
    const size_t start = Frame(at), length = Frame(1.0);
    Oscillator osc, tick;
    const double sweepK = DecayFactor(0.03), envK = DecayFactor(0.22), clickK = DecayFactor(0.004);
    double sweep = 1, env = 1, click = 0.4;
    for (size_t i = 0; i < length; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double hz = 48 + 110 * sweep;
        const float attack = std::min(1.0f, static_cast<float>(t / 0.002));
        const float body = static_cast<float>(std::tanh(1.6 * osc.Sine(hz)) * env) * attack;
        mix.drums.Add(start + i, gain * Taper(i, length) * (body + static_cast<float>(click) * tick.Sine(1800)), 0);
        sweep *= sweepK, env *= envK, click *= clickK;
    }
    // Pump the pads and bass under the kick.
    const size_t duckLength = Frame(0.3);
    for (size_t i = 0; i < duckLength && start + i < mix.duck.size(); ++i) {
        const float t = static_cast<float>(i) / static_cast<float>(duckLength);
        mix.duck[start + i] = std::min(mix.duck[start + i], 0.45f + 0.55f * t * t);
    }
}

void Snare(Mix &mix, double at, float gain, double bodyHz = kSnareHz, float reverb = 0.25f)
{
    const size_t start = Frame(at), length = Frame(0.35);
    Oscillator osc;
    Noise noise(static_cast<uint32_t>(start) * 7 + 3);
    Svf bright;
    bright.Set(2600, 0.2);
    const double bodyK = DecayFactor(0.09), hissK = DecayFactor(0.11);
    double bodyEnv = 1, hissEnv = 1;
    for (size_t i = 0; i < length; ++i) {
        const float body = osc.Sine(bodyHz) * static_cast<float>(bodyEnv);
        const float hiss = bright.High(noise.Next()) * static_cast<float>(hissEnv);
        bodyEnv *= bodyK, hissEnv *= hissK;
        const float v = gain * Taper(i, length) * (0.8f * body + 0.55f * hiss);
        mix.drums.Add(start + i, v, 0.05f);
        mix.reverbSend.Add(start + i, v * reverb, 0);
    }
}

void Tom(Mix &mix, double at, double hz, float gain, float pan)
{
    const size_t start = Frame(at), length = Frame(1.0);
    Oscillator osc;
    const double dropK = DecayFactor(0.012), envK = DecayFactor(0.2);
    double drop = 0.25, env = 1;
    for (size_t i = 0; i < length; ++i) {
        // A short drop into the tuned pitch, then the body rings on it.
        const double f = hz * (1 + drop);
        const float v = gain * Taper(i, length) * osc.Sine(f) * static_cast<float>(env);
        drop *= dropK, env *= envK;
        mix.drums.Add(start + i, v, pan);
        mix.reverbSend.Add(start + i, v * 0.15f, 0);
    }
}

void Hat(Mix &mix, double at, float gain, bool open)
{
    const size_t start = Frame(at), length = Frame(open ? 0.6 : 0.11);
    Noise noise(static_cast<uint32_t>(start) * 13 + 5);
    Svf filter;
    filter.Set(8000, 0.3);
    const double envK = DecayFactor(open ? 0.12 : 0.022);
    double env = 1;
    for (size_t i = 0; i < length; ++i) {
        const float v = gain * Taper(i, length) * filter.High(noise.Next()) * static_cast<float>(env);
        env *= envK;
        mix.drums.Add(start + i, v, 0.3f);
    }
}

void Crash(Mix &mix, double at, float gain)
{
    const size_t start = Frame(at), length = Frame(2.5);
    Noise noise(static_cast<uint32_t>(start) * 17 + 11);
    Svf filter;
    filter.Set(5000, 0.1);
    Oscillator ring1, ring2;
    const double envK = DecayFactor(0.7);
    double env = 1;
    for (size_t i = 0; i < length; ++i) {
        const float metal = 0.3f * ring1.Pulse(3321, 0.5) * ring2.Pulse(4789, 0.5);
        const float v = gain * Taper(i, length) * filter.High(noise.Next() + metal) * static_cast<float>(env);
        env *= envK;
        mix.drums.Add(start + i, v, -0.25f);
        mix.reverbSend.Add(start + i, v * 0.3f, 0);
    }
}

void Riser(Mix &mix, double from, double to, float gain)
{
    const size_t start = Frame(from), length = Frame(to - from);
    Noise noise(static_cast<uint32_t>(start) + 99);
    Svf filter;
    for (size_t i = 0; i < length; ++i) {
        const double x = static_cast<double>(i) / static_cast<double>(length);
        if (i % 32 == 0)
            filter.Set(300 * std::pow(40.0, x), 0.6);
        const float v = gain * static_cast<float>(x * x) * filter.Band(noise.Next());
        mix.music.Add(start + i, v, static_cast<float>(std::sin(x * 20) * 0.5));
        mix.reverbSend.Add(start + i, v * 0.3f, 0);
    }
}

void Boom(Mix &mix, double at, float gain)
{
    const size_t start = Frame(at), length = Frame(1.6);
    Oscillator osc;
    const double sweepK = DecayFactor(0.08), envK = DecayFactor(0.5);
    double sweep = 1, env = 1;
    for (size_t i = 0; i < length; ++i) {
        mix.drums.Add(start + i, gain * Taper(i, length) * osc.Sine(38 + 60 * sweep) * static_cast<float>(env), 0);
        sweep *= sweepK, env *= envK;
    }
}

// ---- pitched voices ------------------------------------------------------------

// Bass: a sawtooth and a square sub through a low-pass whose cutoff falls after the attack.
void Bass(Mix &mix, double at, double length, int midi, float gain, double cutoff, double drive = 1.0)
{
    const size_t start = Frame(at), frames = Frame(length + 0.15);
    Oscillator saw, sub(0.25);
    Svf filter;
    float env = 0;
    const double hz = NoteHz(midi);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0) {
            filter.Set(cutoff * (1 + 3 * std::exp(-t / 0.06)), 0.35);
            env = Adsr(t, length, 0.004, 0.15, 0.7, 0.03);
        }
        const float raw = 0.6f * saw.Saw(hz) + 0.7f * sub.Sine(hz);
        const float v = gain * env * Taper(i, frames) * std::tanh(static_cast<float>(drive) * filter.Low(raw));
        mix.bass.Add(start + i, v, 0);
    }
}

// Pad: three detuned saws per note, slow attack, dark low-pass with a slow sweep.
void Pad(Mix &mix, double at, double length, const std::vector<int> &notes, float gain, double cutoff)
{
    const size_t start = Frame(at), frames = Frame(length + 2.0);
    int voice = 0;
    for (int midi : notes) {
        // Three detuned saws through one filter (the filter is linear, so that is the same as three filters).
        Oscillator osc[3] = {Oscillator(0.13 * (voice + 1)), Oscillator(0.5 + 0.13 * voice), Oscillator(0.77)};
        Svf filter;
        float env = 0;
        const double hz = NoteHz(midi);
        const float pan = voice % 2 ? -0.45f : 0.45f;
        for (size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            if (i % 64 == 0) {
                filter.Set(cutoff * (1 + 0.3 * std::sin((at + t) * 0.9)), 0.15);
                env = Adsr(t, length, 0.35, 1.0, 0.85, 0.5) * Taper(i, frames);
            }
            const float saws = osc[0].Saw(hz * 0.9965) + osc[1].Saw(hz) + osc[2].Saw(hz * 1.0035);
            const float v = gain * env * filter.Low(saws) / 3;
            mix.music.Add(start + i, v, pan);
            mix.reverbSend.Add(start + i, v * 0.35f, 0);
        }
        ++voice;
    }
}

// Pluck: a short bright note for arpeggios; a sine body keeps its energy on the fundamental.
void Pluck(Mix &mix, double at, int midi, float gain, double cutoff, float pan, float sineMix = 0.5f,
           double decay = 0.16)
{
    const size_t start = Frame(at), frames = Frame(decay * 5);
    Oscillator saw, sine;
    Svf filter;
    const double hz = NoteHz(midi);
    const double envK = DecayFactor(decay);
    double level = 1;
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0)
            filter.Set(cutoff * (0.5 + 2 * std::exp(-t / 0.05)), 0.3);
        const float env = static_cast<float>(level) * std::min(1.0f, static_cast<float>(t / 0.002)) * Taper(i, frames);
        level *= envK;
        const float v = gain * env * ((1 - sineMix) * filter.Low(saw.Saw(hz)) + sineMix * sine.Sine(hz));
        mix.music.Add(start + i, v, pan);
        mix.delaySend.Add(start + i, v * 0.35f, pan);
    }
}

// Lead: a pulse wave with delayed vibrato and a filter envelope.
void Lead(Mix &mix, double at, double length, int midi, float gain, double cutoff, float sineMix = 0.0f)
{
    const size_t start = Frame(at), frames = Frame(length + 0.3);
    Oscillator osc, sine, lfo;
    Svf filter;
    float env = 0;
    const double hz = NoteHz(midi);
    for (size_t i = 0; i < frames; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        if (i % 16 == 0) {
            filter.Set(cutoff * (1 + 1.5 * std::exp(-t / 0.1)), 0.4);
            env = Adsr(t, length, 0.01, 0.3, 0.75, 0.06) * Taper(i, frames);
        }
        const double vibrato = 1 + 0.006 * std::min(1.0, t / 0.4) * lfo.Sine(5.5);
        const float body = (1 - sineMix) * filter.Low(osc.Pulse(hz * vibrato, 0.5)) + sineMix * sine.Sine(hz * vibrato);
        const float v = gain * env * body;
        mix.music.Add(start + i, v, -0.15f);
        mix.delaySend.Add(start + i, v * 0.45f, 0);
        mix.reverbSend.Add(start + i, v * 0.25f, 0);
    }
}

// Stab: a bright chord hit for the title words.
void Stab(Mix &mix, double at, const std::vector<int> &notes, float gain)
{
    const size_t start = Frame(at), frames = Frame(2.0);
    for (size_t n = 0; n < notes.size(); ++n) {
        Oscillator a, b(0.3);
        Svf filter;
        const double hz = NoteHz(notes[n]);
        const double envK = DecayFactor(0.4);
        double level = 1;
        for (size_t i = 0; i < frames; ++i) {
            const double t = static_cast<double>(i) / kSampleRate;
            if (i % 16 == 0)
                filter.Set(600 + 3000 * std::exp(-t / 0.15), 0.3);
            const float env = static_cast<float>(level) * Taper(i, frames);
            level *= envK;
            const float v = gain * env * filter.Low(a.Saw(hz * 1.003) + b.Saw(hz * 0.997)) / static_cast<float>(notes.size());
            mix.music.Add(start + i, v, n % 2 ? 0.4f : -0.4f);
            mix.reverbSend.Add(start + i, v * 0.5f, 0);
        }
    }
}

// ---- effects -------------------------------------------------------------------

void PingPongDelay(const MonoSend &in, StereoBus &out, double seconds, float feedback)
{
    const size_t d = Frame(seconds);
    std::vector<float> l(d, 0.0f), r(d, 0.0f); // rings of one delay length
    float lowL = 0, lowR = 0;
    size_t pos = 0;
    for (size_t i = 0; i < out.Frames(); ++i) {
        const float fromR = r[pos], fromL = l[pos];
        lowL += 0.4f * (fromR - lowL); // darken each repeat
        lowR += 0.4f * (fromL - lowR);
        l[pos] = in.samples[i] + feedback * lowL;
        r[pos] = feedback * lowR;
        out.left[i] += 0.5f * lowL;
        out.right[i] += 0.5f * lowR;
        pos = pos + 1 == d ? 0 : pos + 1;
    }
}

// A small Schroeder reverb: parallel damped combs, then allpasses, per channel.
// A delay line of fixed length read and written at one position.
struct Ring {
    explicit Ring(int length) : buffer(static_cast<size_t>(length), 0.0f) {}
    float &Here() { return buffer[pos]; }
    void Step() { pos = pos + 1 == buffer.size() ? 0 : pos + 1; }
    std::vector<float> buffer;
    size_t pos = 0;
};

void Reverb(const MonoSend &in, StereoBus &out, float wet)
{
    const int combLengths[2][4] = {{1557, 1617, 1491, 1422}, {1580, 1640, 1514, 1445}};
    const int passLengths[2][2] = {{556, 441}, {579, 464}};
    for (int ch = 0; ch < 2; ++ch) {
        std::vector<Ring> combs, passes;
        for (int c = 0; c < 4; ++c)
            combs.emplace_back(combLengths[ch][c]);
        for (int a = 0; a < 2; ++a)
            passes.emplace_back(passLengths[ch][a]);
        float damp[4] = {0, 0, 0, 0};
        std::vector<float> &dst = ch == 0 ? out.left : out.right;
        for (size_t i = 0; i < dst.size(); ++i) {
            float sum = 0;
            for (int c = 0; c < 4; ++c) {
                float &cell = combs[static_cast<size_t>(c)].Here();
                const float y = cell;
                damp[c] = y * 0.6f + damp[c] * 0.4f;
                cell = in.samples[i] * 0.5f + damp[c] * 0.84f;
                sum += y;
                combs[static_cast<size_t>(c)].Step();
            }
            for (Ring &pass : passes) {
                float &cell = pass.Here();
                const float b = cell;
                cell = sum + b * 0.5f;
                sum = b - sum;
                pass.Step();
            }
            dst[i] += wet * sum;
        }
    }
}

// ---- the score -------------------------------------------------------------------

enum class Part {
    Intro,      // 0-14: pad and the bright E6 arpeggio (entry 30)
    Spin,       // 14-21: beat starts, C#6 lead riff (entry 25)
    Drive,      // 21-36: full groove
    Titles,     // 36-44: breakdown with a hit per title word
    TitleGroove,// 44-57
    Fill,       // 57-60, 131-135, 177-179.5: snare roll / break
    Metaballs,  // 60-74: heavy bass
    Trio,       // 74-89: melodic
    Ripple,     // 89-103: intense
    Greetings,  // 103-131: tom groove on entry 7
    Spikes,     // 135-149: bass riff on F3 (entry 4)
    BumpSpike,  // 149-163
    Credits,    // 163-177: calm
    Build,      // 179.5-189.5
    Slime,      // 189.5-208: climax
    Outro,      // 208-225
};

struct Section {
    double start;
    Part part;
};

const Section kSections[] = {
    {0, Part::Intro},        {14, Part::Spin},      {21, Part::Drive},     {36, Part::Titles},
    {44, Part::TitleGroove}, {57, Part::Fill},      {60, Part::Metaballs}, {74, Part::Trio},
    {89, Part::Ripple},      {103, Part::Greetings}, {131, Part::Fill},    {135, Part::Spikes},
    {149, Part::BumpSpike},  {163, Part::Credits},  {177, Part::Fill},     {179.5, Part::Build},
    {189.5, Part::Slime},    {208, Part::Outro},
};

// Chords as MIDI notes (root position around octave 3-4) and their bass roots.
struct Chord {
    int root;                // bass note, octave 2
    std::array<int, 3> pad;  // pad voicing
};

// C# minor: C#m - A - E - B.
const Chord kMain[] = {{37, {56, 61, 64}}, {45, {57, 61, 64}}, {40, {56, 59, 64}}, {47, {54, 59, 63}}};
// F minor for the spike riff: Fm - Db - Eb - Fm (the bass stays on F).
const Chord kRiff[] = {{41, {56, 60, 65}}, {41, {56, 61, 65}}, {41, {55, 58, 63}}, {41, {56, 60, 65}}};

Part PartAt(double seconds)
{
    Part part = Part::Intro;
    for (const Section &s : kSections)
        if (seconds + 1e-9 >= s.start)
            part = s.part;
    return part;
}

double SectionEnd(double seconds)
{
    for (const Section &s : kSections)
        if (s.start > seconds + 1e-9)
            return s.start;
    return kMusicSeconds;
}

void Compose(Mix &mix)
{
    const int steps = static_cast<int>(kMusicSeconds / kStep);
    // Melodies per bar as scale steps over the chord, 16 sixteenths; -1 rests, 0 holds.
    const int leadA[16] = {73, 0, 0, 76, 0, 0, 75, 0, 73, 0, 71, 0, 68, 0, 0, 0};
    const int leadB[16] = {68, 0, 71, 0, 73, 0, 0, 0, 76, 0, 75, 0, 73, 0, 71, 0};
    Part previous = Part::Intro;
    for (int s = 0; s < steps; ++s) {
        const double t = s * kStep;
        const Part part = PartAt(t);
        const int bar = s / 16, pos = s % 16;
        const Chord &chord = part == Part::Spikes ? kRiff[bar % 4] : kMain[bar % 4];
        const double barLength = 16 * kStep;
        const bool barStart = pos == 0;
        const double untilEnd = SectionEnd(t) - t;
        if (part != previous && s > 0 && part != Part::Titles && part != Part::Fill)
            Crash(mix, t, 0.35f);
        previous = part;

        // Pads: a bar at a time (cut at the section end) in most parts.
        const bool padded = part != Part::Fill && part != Part::Metaballs;
        if (padded && barStart) {
            const std::vector<int> notes(chord.pad.begin(), chord.pad.end());
            const float gain = part == Part::Intro || part == Part::Credits || part == Part::Outro ? 0.16f : 0.11f;
            if (part != Part::Outro || t < 214)
                Pad(mix, t, std::min(barLength, untilEnd), notes, gain, part == Part::Spikes ? 500 : 800);
        }

        switch (part) {
        case Part::Intro: {
            // The bright arpeggio leans on E6 (entry 30): the logo jumps with it.
            const int pattern[8] = {88, 83, 88, 80, 88, 83, 88, 76};
            const float gain = static_cast<float>(0.22 + 0.12 * std::min(1.0, t / 6));
            Pluck(mix, t, pattern[pos % 8], pattern[pos % 8] == 88 ? gain : gain * 0.5f, 2500, pos % 2 ? 0.35f : -0.35f,
                  0.85f, 0.2);
            if (t > 7 && pos % 4 == 2)
                Hat(mix, t, 0.08f, false);
            if (t > 10.5 && pos % 4 == 0)
                Kick(mix, t, 0.45f);
            break;
        }
        case Part::Spin: {
            if (pos % 4 == 0)
                Kick(mix, t, 0.8f);
            if (pos % 4 == 2)
                Hat(mix, t, 0.14f, false);
            if (pos % 2 == 0)
                Bass(mix, t, kStep * 1.6, chord.root, 0.22f, 350);
            // The pulsing lead on C#6 (entry 25).
            const int riff[16] = {85, -1, 85, 85, -1, 85, -1, 83, 85, -1, 85, 85, -1, 85, 80, -1};
            if (riff[pos] > 0)
                Lead(mix, t, kStep * 0.9, riff[pos], riff[pos] == 85 ? 0.3f : 0.15f, 1400, 0.8f);
            break;
        }
        case Part::Drive:
        case Part::TitleGroove:
        case Part::BumpSpike:
        case Part::Slime: {
            const bool big = part == Part::Slime || part == Part::TitleGroove;
            if (pos % 4 == 0)
                Kick(mix, t, 0.85f);
            if (pos == 4 || pos == 12)
                Snare(mix, t, 0.55f);
            Hat(mix, t, pos % 2 ? 0.07f : 0.12f, pos % 4 == 2 && big);
            const int bassPattern[16] = {1, 0, 1, 1, 0, 1, 0, 1, 1, 0, 1, 1, 0, 1, 1, 0};
            if (bassPattern[pos])
                Bass(mix, t, kStep * 0.8, chord.root + (pos == 7 || pos == 14 ? 12 : 0), 0.24f, 420);
            if (pos % 2 == 0) {
                const int arp[4] = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2], chord.pad[1]};
                Pluck(mix, t, arp[(pos / 2) % 4], 0.09f, 1500, pos % 4 ? 0.5f : -0.5f, 0.6f, 0.12);
            }
            if (part != Part::Drive) {
                const int *melody = (bar % 2) ? leadB : leadA;
                if (melody[pos] > 0) {
                    int length = 1;
                    while (pos + length < 16 && melody[pos + length] == 0)
                        ++length;
                    Lead(mix, t, kStep * length * 0.95, melody[pos] - (part == Part::BumpSpike ? 12 : 0), big ? 0.16f : 0.13f,
                         1100);
                }
            }
            break;
        }
        case Part::Titles: {
            // A breakdown: pad, a ticking hat and a riser; the hits come at 38, 40, 42 and 44 s.
            if (pos % 4 == 2 && t < 37.8)
                Hat(mix, t, 0.06f, false);
            break;
        }
        case Part::Fill: {
            const double into = 1 - untilEnd / 4.0;
            if (t < 131 || t >= 135) // a rising snare roll
                Snare(mix, t, static_cast<float>(0.2 + 0.35 * into), kSnareHz, 0.1f);
            else if (pos % 8 == 0) // the greetings break: only distant toms
                Tom(mix, t, 95, 0.3f, -0.3f);
            break;
        }
        case Part::Metaballs: {
            if (pos % 4 == 0)
                Kick(mix, t, 0.9f);
            if (pos == 4 || pos == 12)
                Snare(mix, t, 0.5f);
            if (pos % 2 == 1)
                Hat(mix, t, 0.09f, false);
            // Heavy driven bass with a wobbling filter.
            const double wobble = 250 + 500 * (0.5 + 0.5 * std::sin(2 * M_PI * t * kBpm / 60 / 2));
            Bass(mix, t, kStep * 0.95, chord.root - (pos % 8 == 6 ? 0 : 0), 0.26f, wobble, 2.0);
            break;
        }
        case Part::Trio: {
            if (pos == 0 || pos == 10)
                Kick(mix, t, 0.75f);
            if (pos == 8)
                Snare(mix, t, 0.45f);
            if (pos % 4 == 2)
                Hat(mix, t, 0.08f, false);
            if (pos % 4 == 0)
                Bass(mix, t, kStep * 3.5, chord.root, 0.22f, 300);
            const int arp[8] = {chord.pad[0], chord.pad[1], chord.pad[2], chord.pad[0] + 12,
                                chord.pad[2], chord.pad[1], chord.pad[0] + 12, chord.pad[2]};
            Pluck(mix, t, arp[pos % 8], 0.1f, 1200, pos % 2 ? 0.4f : -0.4f, 0.6f, 0.15);
            const int *melody = (bar % 2) ? leadB : leadA;
            if (melody[pos] > 0)
                Lead(mix, t, kStep * 2.5, melody[pos] - 12, 0.14f, 900, 0.3f);
            break;
        }
        case Part::Ripple: {
            if (pos % 4 == 0)
                Kick(mix, t, 0.9f);
            if (pos == 4 || pos == 12 || pos == 15)
                Snare(mix, t, 0.5f);
            Hat(mix, t, pos % 2 ? 0.08f : 0.13f, pos % 4 == 2);
            Bass(mix, t, kStep * 0.7, chord.root + (pos % 4 == 3 ? 12 : 0), 0.23f, 600, 1.5);
            const int arp[4] = {chord.pad[0] + 12, chord.pad[2], chord.pad[1] + 12, chord.pad[2]};
            Pluck(mix, t, arp[pos % 4], 0.08f, 1800, pos % 2 ? 0.5f : -0.5f, 0.5f, 0.1);
            break;
        }
        case Part::Greetings: {
            // A tom groove tuned to entry 7: the greeting pulses with it.
            if (pos == 0 || pos == 6 || pos == 10)
                Kick(mix, t, 0.75f);
            const int toms[16] = {0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 0, 0, 1, 0, 1, 1};
            if (toms[pos])
                Tom(mix, t, kTomHz, 0.55f, pos % 3 ? 0.25f : -0.25f);
            if (pos == 4 || pos == 12)
                Snare(mix, t, 0.5f, kTomHz);
            if (pos % 2 == 0)
                Hat(mix, t, 0.07f, false);
            if (pos % 8 == 0)
                Bass(mix, t, kStep * 6, chord.root, 0.18f, 250);
            break;
        }
        case Part::Spikes: {
            // The bass riff on F3 (entry 4): the wire ball swells with it.
            if (pos % 4 == 0)
                Kick(mix, t, 0.7f);
            if (pos == 4 || pos == 12)
                Snare(mix, t, 0.45f);
            if (pos % 2 == 1)
                Hat(mix, t, 0.1f, false);
            const int riff[16] = {53, 0, 53, 53, 0, 53, 41, 53, 53, 0, 53, 53, 0, 53, 56, 53};
            if (riff[pos] > 0) {
                int length = 1;
                while (pos + length < 16 && riff[pos + length] == 0)
                    ++length;
                Bass(mix, t, kStep * length * 0.9, riff[pos], 0.42f, 500, 1.2);
            }
            break;
        }
        case Part::Credits: {
            if (pos % 4 == 2)
                Hat(mix, t, 0.06f, false);
            if (pos == 0)
                Kick(mix, t, 0.5f);
            if (pos == 0)
                Bass(mix, t, barLength * 0.9, chord.root, 0.16f, 200);
            if (pos % 2 == 0) {
                const int arp[8] = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2] + 12, chord.pad[1] + 12,
                                    chord.pad[0] + 12, chord.pad[2], chord.pad[1], chord.pad[2]};
                Pluck(mix, t, arp[(pos / 2) % 8] - 12, 0.1f, 1000, pos % 4 ? 0.5f : -0.5f, 0.7f, 0.25);
            }
            break;
        }
        case Part::Build: {
            const double into = (t - 179.5) / 10.0;
            if (pos % 4 == 0)
                Kick(mix, t, 0.8f);
            if (into > 0.5 ? pos % 2 == 0 : pos % 4 == 0)
                Snare(mix, t, static_cast<float>(0.2 + 0.3 * into), kSnareHz, 0.15f);
            Hat(mix, t, 0.09f, false);
            if (pos % 2 == 0)
                Bass(mix, t, kStep * 1.8, chord.root, 0.22f, 200 + 900 * into);
            break;
        }
        case Part::Outro: {
            const double fade = std::clamp((222.0 - t) / 14.0, 0.0, 1.0);
            if (t < 214 && pos % 4 == 0)
                Kick(mix, t, static_cast<float>(0.7 * fade));
            if (t < 216 && pos % 4 == 2)
                Hat(mix, t, static_cast<float>(0.08 * fade), false);
            if (t < 214 && pos % 2 == 0)
                Bass(mix, t, kStep * 1.5, chord.root, static_cast<float>(0.2 * fade), 300);
            if (t < 218 && pos % 2 == 0) {
                const int arp[4] = {chord.pad[0] + 12, chord.pad[1] + 12, chord.pad[2] + 12, chord.pad[1] + 12};
                Pluck(mix, t, arp[(pos / 2) % 4] - 12, static_cast<float>(0.1 * fade), 900, pos % 4 ? 0.5f : -0.5f, 0.7f,
                      0.2);
            }
            break;
        }
        }
    }

    // The title hits, one per word, exactly on the scene's cue.
    Riser(mix, 36.0, 38.0, 0.5f);
    const std::vector<int> stab = {49, 56, 61, 64, 68};
    for (double at : {38.0, 40.0, 42.0, 44.0}) {
        Kick(mix, at, 0.9f);
        Boom(mix, at, 0.45f);
        Crash(mix, at, 0.4f);
        Stab(mix, at, stab, 0.55f);
    }
    Riser(mix, 133.0, 135.0, 0.4f);
    Riser(mix, 187.5, 189.5, 0.45f);
    // The closing chord rings out and is gone by 225 s.
    Pad(mix, 214.0, 7.5, {49, 56, 61, 64}, 0.2f, 700);
    Crash(mix, 208.0, 0.35f);
}
} // namespace

Soundtrack ComposeSoundtrack(float peak)
{
    const size_t frames = Frame(kTrackSeconds);
    Mix mix(frames);
    Compose(mix);

    StereoBus &master = mix.drums;
    for (size_t i = 0; i < frames; ++i) {
        const float duck = mix.duck[i];
        master.left[i] += duck * mix.music.left[i];
        master.right[i] += duck * mix.music.right[i];
    }
    PingPongDelay(mix.delaySend, master, 3 * kStep, 0.38f);
    Reverb(mix.reverbSend, master, 0.25f);

    // Fade the last seconds so the music has closed by the end of the presentation.
    const size_t fadeFrom = Frame(kMusicSeconds - 3.0), fadeTo = Frame(kMusicSeconds);
    for (size_t i = fadeFrom; i < frames; ++i) {
        const float g = i >= fadeTo ? 0.0f : static_cast<float>(fadeTo - i) / static_cast<float>(fadeTo - fadeFrom);
        master.left[i] *= g * g;
        master.right[i] *= g * g;
    }
    float highest = 1e-9f;
    for (size_t i = 0; i < frames; ++i)
        highest = std::max({highest, std::abs(master.left[i]), std::abs(master.right[i])});
    const float gain = peak / highest;
    Soundtrack out;
    out.left = std::move(master.left);
    out.right = std::move(master.right);
    for (size_t i = 0; i < frames; ++i) {
        out.left[i] *= gain;
        out.right[i] *= gain;
    }
    return out;
}
