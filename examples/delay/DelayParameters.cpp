#include "examples/delay/DelayParameters.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace
{
constexpr size_t kMaxDisplayChars = 8; // the VST convention for display texts
constexpr float kSyncThreshold = 0.5f;
constexpr double kPercent = 100.0;
constexpr double kHzPerKHz = 1000.0;

const char* const kNames[kNumDelayParameters] = {"Time", "Feedback", "Mix", "Sync", "Note", "High Cut"};
// High Cut carries its unit in the display text because the text switches between Hz, kHz and "Open".
const char* const kLabels[kNumDelayParameters] = {"ms", "%", "%", "", "", ""};

const char* const kNoteTexts[DelayParameters::kNumNotes] = {"1/16", "1/8T", "1/8", "1/8.",
                                                            "1/4",  "1/4.", "1/2", "1 bar"};
// Length of each division in quarter notes; the bar (last entry) is taken from the time signature.
const double kNoteQuarters[DelayParameters::kNumNotes - 1] = {0.25, 1.0 / 3.0, 0.5, 0.75, 1.0, 1.5, 2.0};

void copyText(const char* text, char* dest, size_t size)
{
    if (dest == nullptr || size == 0)
        return;
    const size_t limit = size - 1 < kMaxDisplayChars ? size - 1 : kMaxDisplayChars;
    size_t n = 0;
    while (n < limit && text[n] != '\0')
    {
        dest[n] = text[n];
        ++n;
    }
    dest[n] = '\0';
}

// Numbers are formatted by hand: printf's decimal point follows the process locale, and a host that
// sets a locale with a decimal comma must not change our texts.
void formatFixed(double value, int decimals, const char* suffix, char* dest, size_t size)
{
    char text[32];
    long scaled = std::lround(value * (decimals > 0 ? 10.0 : 1.0));
    if (decimals > 0)
        std::snprintf(text, sizeof(text), "%ld.%ld%s", scaled / 10, scaled % 10, suffix);
    else
        std::snprintf(text, sizeof(text), "%ld%s", scaled, suffix);
    copyText(text, dest, size);
}

bool equalsIgnoringCase(const char* a, const char* b)
{
    while (*a != '\0' && *b != '\0')
    {
        if (std::tolower(static_cast<unsigned char>(*a)) != std::tolower(static_cast<unsigned char>(*b)))
            return false;
        ++a;
        ++b;
    }
    return *a == *b;
}

// Copies text without leading and trailing blanks into dest (always terminated).
void trimmed(const char* text, char* dest, size_t size)
{
    while (*text == ' ' || *text == '\t')
        ++text;
    size_t n = 0;
    while (n + 1 < size && text[n] != '\0')
    {
        dest[n] = text[n];
        ++n;
    }
    while (n > 0 && (dest[n - 1] == ' ' || dest[n - 1] == '\t'))
        --n;
    dest[n] = '\0';
}

// Reads a plain decimal number (optional sign, '.' or ',' as the decimal mark) at the start of text;
// rest points at what follows it. Locale-independent for the same reason as formatFixed.
bool readNumber(const char* text, double& number, const char*& rest)
{
    const char* p = text;
    double sign = 1.0;
    if (*p == '-' || *p == '+')
    {
        sign = *p == '-' ? -1.0 : 1.0;
        ++p;
    }
    double result = 0.0;
    bool anyDigit = false;
    while (std::isdigit(static_cast<unsigned char>(*p)))
    {
        result = result * 10.0 + (*p - '0');
        anyDigit = true;
        ++p;
    }
    if (*p == '.' || *p == ',')
    {
        ++p;
        double scale = 0.1;
        while (std::isdigit(static_cast<unsigned char>(*p)))
        {
            result += (*p - '0') * scale;
            scale *= 0.1;
            anyDigit = true;
            ++p;
        }
    }
    if (!anyDigit)
        return false;
    while (*p == ' ')
        ++p;
    number = sign * result;
    rest = p;
    return true;
}

float limitNormalised(double value)
{
    if (!(value > 0.0))
        return 0.0f;
    if (value > 1.0)
        return 1.0f;
    return static_cast<float>(value);
}
} // namespace

bool DelayParameters::isValidIndex(int32_t index)
{
    return index >= 0 && index < kNumDelayParameters;
}

bool DelayParameters::sanitize(float value, float& limited)
{
    if (std::isnan(value))
        return false;
    limited = value < 0.0f ? 0.0f : (value > 1.0f ? 1.0f : value);
    return true;
}

const char* DelayParameters::name(int32_t index)
{
    return isValidIndex(index) ? kNames[index] : "";
}

const char* DelayParameters::label(int32_t index)
{
    return isValidIndex(index) ? kLabels[index] : "";
}

double DelayParameters::timeMs(float value)
{
    const double ms = static_cast<double>(value) * kMaxTimeMs;
    return ms < kMinTimeMs ? kMinTimeMs : (ms > kMaxTimeMs ? kMaxTimeMs : ms);
}

float DelayParameters::feedbackGain(float value)
{
    return value;
}

float DelayParameters::mixAmount(float value)
{
    return value;
}

bool DelayParameters::syncOn(float value)
{
    return value >= kSyncThreshold;
}

int32_t DelayParameters::noteIndex(float value)
{
    const int32_t note = static_cast<int32_t>(value * static_cast<float>(kNumNotes));
    return note < 0 ? 0 : (note >= kNumNotes ? kNumNotes - 1 : note);
}

float DelayParameters::noteValue(int32_t note)
{
    return (static_cast<float>(note) + 0.5f) / static_cast<float>(kNumNotes);
}

const char* DelayParameters::noteText(int32_t note)
{
    return note >= 0 && note < kNumNotes ? kNoteTexts[note] : "";
}

double DelayParameters::noteQuarters(int32_t note, double quartersPerBar)
{
    if (note >= 0 && note < kNumNotes - 1)
        return kNoteQuarters[note];
    return quartersPerBar;
}

bool DelayParameters::highCutOpen(float value)
{
    return value >= 1.0f;
}

double DelayParameters::highCutHz(float value)
{
    return kMinHighCutHz * std::pow(kMaxHighCutHz / kMinHighCutHz, static_cast<double>(value));
}

void DelayParameters::formatDisplay(int32_t index, float value, char* dest, size_t size)
{
    copyText("", dest, size);
    float v = 0.0f;
    if (!sanitize(value, v))
        return;
    switch (index)
    {
    case kParamTime:
    {
        const double ms = timeMs(v);
        formatFixed(ms, ms < 100.0 ? 1 : 0, "", dest, size);
        break;
    }
    case kParamFeedback:
        formatFixed(feedbackGain(v) * kPercent, 0, "", dest, size);
        break;
    case kParamMix:
        formatFixed(mixAmount(v) * kPercent, 0, "", dest, size);
        break;
    case kParamSync:
        copyText(syncOn(v) ? "On" : "Off", dest, size);
        break;
    case kParamNote:
        copyText(noteText(noteIndex(v)), dest, size);
        break;
    case kParamHighCut:
    {
        if (highCutOpen(v))
        {
            copyText("Open", dest, size);
            break;
        }
        const double hz = highCutHz(v);
        // Hz below 1 kHz; tenths of kHz above, where the rounding could otherwise show "1000 Hz".
        if (std::lround(hz) < kHzPerKHz)
            formatFixed(hz, 0, " Hz", dest, size);
        else
            formatFixed(hz / kHzPerKHz, 1, " kHz", dest, size);
        break;
    }
    default:
        break;
    }
}

bool DelayParameters::parseDisplay(int32_t index, const char* text, float& value)
{
    if (text == nullptr || !isValidIndex(index))
        return false;
    char clean[64];
    trimmed(text, clean, sizeof(clean));

    double number = 0.0;
    const char* rest = nullptr;
    switch (index)
    {
    case kParamTime:
    case kParamFeedback:
    case kParamMix:
        // Milliseconds for the time, percent for the others.
        if (!readNumber(clean, number, rest))
            return false;
        value = limitNormalised(number / (index == kParamTime ? kMaxTimeMs : kPercent));
        return true;
    case kParamSync:
        if (equalsIgnoringCase(clean, "on") || std::strcmp(clean, "1") == 0)
            value = 1.0f;
        else if (equalsIgnoringCase(clean, "off") || std::strcmp(clean, "0") == 0)
            value = 0.0f;
        else
            return false;
        return true;
    case kParamNote:
        for (int32_t note = 0; note < kNumNotes; ++note)
        {
            if (equalsIgnoringCase(clean, kNoteTexts[note]))
            {
                value = noteValue(note);
                return true;
            }
        }
        return false;
    case kParamHighCut:
    {
        if (equalsIgnoringCase(clean, "open") || equalsIgnoringCase(clean, "off"))
        {
            value = 1.0f;
            return true;
        }
        if (!readNumber(clean, number, rest))
            return false;
        if (*rest == 'k' || *rest == 'K')
            number *= kHzPerKHz;
        if (!(number > 0.0))
            return false;
        if (number >= kMaxHighCutHz)
        {
            value = 1.0f;
            return true;
        }
        value = limitNormalised(std::log(number / kMinHighCutHz) / std::log(kMaxHighCutHz / kMinHighCutHz));
        return true;
    }
    default:
        return false;
    }
}
