// Correctly rounded e^x and x^y in plain double arithmetic (Ziv's strategy).
//
// Each function first evaluates a fast approximation hi + lo with a proven
// bound on its error and tests whether every value within that bound rounds
// to the same double.  Only when it does not (about once in several thousand
// calls) does an accurate evaluation in triple-double arithmetic (a value
// kept as the unevaluated sum of three doubles, relative error below 2^-130)
// decide.  Results of x^y that are exactly a double or exactly halfway
// between two are found separately, since no approximation can decide those.
//
// Exact products come from Veltkamp's splitting and Dekker's product (no
// fused multiply-add: the build forbids contraction, and the bits must not
// depend on whether a processor has one), exact sums from Knuth's and
// Dekker's two-sum.  The constant tables are written by
// tools/golden/elementary_tables.py from exact rational arithmetic.
#include "base/elementary_functions.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace vesk {

namespace {

struct Pair {
    double hi, lo;
};

// A triple-double: the value hi + mid + lo, |mid| <= ulp(hi) and |lo| <= ulp(mid)
// roughly, so the three carry about 159 significant bits.
struct Triple {
    double hi, mid, lo;
};

struct LogBucket {
    double inverse;
    Triple minusLog;
};

// BEGIN GENERATED TABLES (tools/golden/elementary_tables.py)
// 128 / ln 2, nearest double; only chooses k, so its rounding costs nothing.
constexpr double kExpInvStep = 0x1.71547652b82fep+7;
// ln 2 / 128 = kExpStep1 + kExpStep2 + kExpStep3 + kExpStep4 (error below 2^-180).
// kExpStep1 and kExpStep2 have 35 significant bits each, so k * part is exact
// for |k| < 2^18; kExpStep1 is cut toward zero.  kExpStepTail is the double
// nearest ln 2 / 128 - kExpStep1, for the fast path.
constexpr double kExpStep1 = 0x1.62e42fef80000p-8;
constexpr double kExpStep2 = 0x1.1cf79abc80000p-43;
constexpr double kExpStep3 = 0x1.e3b39803f2f6bp-79;
constexpr double kExpStep4 = -0x1.7e1979b31ace9p-136;
constexpr double kExpStepTail = 0x1.1cf79abc9e3b4p-43;

// 2^(j/128) = hi + mid + lo, each the double nearest what the earlier parts
// leave (relative error below 2^-158).
constexpr Triple kExpTable[128] = {
    {0x1p+0, 0.0, 0.0},
    {0x1.0163da9fb3335p+0, 0x1.b61299ab8cdb7p-54, 0x1.bf48007d80987p-109},
    {0x1.02c9a3e778061p+0, -0x1.19083535b085dp-56, -0x1.9085b0a3d74d5p-110},
    {0x1.04315e86e7f85p+0, -0x1.0a31c1977c96ep-54, -0x1.912fbf44b4040p-112},
    {0x1.059b0d3158574p+0, 0x1.d73e2a475b465p-55, 0x1.05ff94f8d257ep-110},
    {0x1.0706b29ddf6dep+0, -0x1.c91dfe2b13c27p-55, 0x1.fb41f2e2c24abp-110},
    {0x1.0874518759bc8p+0, 0x1.186be4bb284ffp-57, 0x1.15820d96b414fp-111},
    {0x1.09e3ecac6f383p+0, 0x1.1487818316136p-54, -0x1.48b45d1fdc259p-108},
    {0x1.0b5586cf9890fp+0, 0x1.8a62e4adc610bp-54, -0x1.67c9bd6ebf74cp-108},
    {0x1.0cc922b7247f7p+0, 0x1.01edc16e24f71p-54, 0x1.e8aac564e6fe3p-108},
    {0x1.0e3ec32d3d1a2p+0, 0x1.03a1727c57b53p-59, -0x1.5aa76994e9ddbp-113},
    {0x1.0fb66affed31bp+0, -0x1.b9bedc44ebd7bp-57, -0x1.aeb1f49d84259p-112},
    {0x1.11301d0125b51p+0, -0x1.6c51039449b3ap-54, 0x1.9d58b988f562dp-109},
    {0x1.12abdc06c31ccp+0, -0x1.1b514b36ca5c7p-58, -0x1.08d8f42083120p-112},
    {0x1.1429aaea92de0p+0, -0x1.32fbf9af1369ep-54, -0x1.2fe7bb4c76416p-108},
    {0x1.15a98c8a58e51p+0, 0x1.2406ab9eeab0ap-55, -0x1.01b575279c474p-110},
    {0x1.172b83c7d517bp+0, -0x1.19041b9d78a76p-55, 0x1.4f2406aa13ff0p-109},
    {0x1.18af9388c8deap+0, -0x1.11023d1970f6cp-54, 0x1.725f0040b97c5p-110},
    {0x1.1a35beb6fcb75p+0, 0x1.e5b4c7b4968e4p-55, 0x1.ad36183926ae8p-111},
    {0x1.1bbe084045cd4p+0, -0x1.95386352ef607p-54, -0x1.40ca69503718ep-109},
    {0x1.1d4873168b9aap+0, 0x1.e016e00a2643cp-54, 0x1.ea62d0881b918p-110},
    {0x1.1ed5022fcd91dp+0, -0x1.1df98027bb78cp-54, 0x1.e504d36c47475p-108},
    {0x1.2063b88628cd6p+0, 0x1.dc775814a8495p-55, -0x1.781dbc16f1ea4p-111},
    {0x1.21f49917ddc96p+0, 0x1.2a97e9494a5eep-55, -0x1.693c2b3b7106bp-109},
    {0x1.2387a6e756238p+0, 0x1.9b07eb6c70573p-54, -0x1.4d89f9af532e0p-109},
    {0x1.251ce4fb2a63fp+0, 0x1.ac155bef4f4a4p-55, 0x1.1a9c8afdcf797p-112},
    {0x1.26b4565e27cddp+0, 0x1.2bd339940e9d9p-55, 0x1.277393a461b77p-110},
    {0x1.284dfe1f56381p+0, -0x1.a4c3a8c3f0d7ep-54, 0x1.67fdaa2e52d7dp-108},
    {0x1.29e9df51fdee1p+0, 0x1.612e8afad1255p-55, 0x1.de54485604690p-111},
    {0x1.2b87fd0dad990p+0, -0x1.10adcd6381aa4p-59, 0x1.0885fb8796dbdp-113},
    {0x1.2d285a6e4030bp+0, 0x1.0024754db41d5p-54, -0x1.ee9d8f8cb9307p-110},
    {0x1.2ecafa93e2f56p+0, 0x1.1ca0f45d52383p-56, 0x1.d7b08dee6d12ap-111},
    {0x1.306fe0a31b715p+0, 0x1.6f46ad23182e4p-55, 0x1.7b7b2f09cd0d9p-110},
    {0x1.32170fc4cd831p+0, 0x1.a9ce78e18047cp-55, 0x1.b778c882b85e8p-110},
    {0x1.33c08b26416ffp+0, 0x1.32721843659a6p-54, -0x1.406a2ea6cfc6bp-108},
    {0x1.356c55f929ff1p+0, -0x1.b5cee5c4e4628p-55, -0x1.8e524e520d5f2p-109},
    {0x1.371a7373aa9cbp+0, -0x1.63aeabf42eae2p-54, 0x1.87e3e12516bfap-108},
    {0x1.38cae6d05d866p+0, -0x1.e958d3c9904bdp-54, 0x1.0a77a61404f21p-109},
    {0x1.3a7db34e59ff7p+0, -0x1.5e436d661f5e3p-56, 0x1.9b0b1ff17c296p-111},
    {0x1.3c32dc313a8e5p+0, -0x1.efff8375d29c3p-54, -0x1.1143f2a93395ap-109},
    {0x1.3dea64c123422p+0, 0x1.ada0911f09ebcp-55, -0x1.808ba68fa8fb7p-109},
    {0x1.3fa4504ac801cp+0, -0x1.7d023f956f9f3p-54, -0x1.0473e3724200dp-108},
    {0x1.4160a21f72e2ap+0, -0x1.ef3691c309278p-58, -0x1.32b43eafc6518p-114},
    {0x1.431f5d950a897p+0, -0x1.1c7dde35f7999p-55, 0x1.903c496195fefp-109},
    {0x1.44e086061892dp+0, 0x1.89b7a04ef80d0p-59, -0x1.0ac312de3d922p-114},
    {0x1.46a41ed1d0057p+0, 0x1.c944bd1648a76p-54, 0x1.7df404ff21f3ap-108},
    {0x1.486a2b5c13cd0p+0, 0x1.3c1a3b69062f0p-56, 0x1.e1eebae743ac0p-111},
    {0x1.4a32af0d7d3dep+0, 0x1.9cb62f3d1be56p-54, 0x1.91876c761e2c7p-110},
    {0x1.4bfdad5362a27p+0, 0x1.d4397afec42e2p-56, 0x1.c06c7745c2b39p-113},
    {0x1.4dcb299fddd0dp+0, 0x1.8ecdbbc6a7833p-54, 0x1.212c969559b43p-110},
    {0x1.4f9b2769d2ca7p+0, -0x1.4b309d25957e3p-54, -0x1.1aa1fd7b685cdp-112},
    {0x1.516daa2cf6642p+0, -0x1.f768569bd93efp-55, 0x1.90e718226177dp-112},
    {0x1.5342b569d4f82p+0, -0x1.07abe1db13cadp-55, 0x1.fa733951f214cp-111},
    {0x1.551a4ca5d920fp+0, -0x1.d689cefede59bp-55, 0x1.9c991771b0493p-110},
    {0x1.56f4736b527dap+0, 0x1.9bb2c011d93adp-54, -0x1.ff86852a613ffp-111},
    {0x1.58d12d497c7fdp+0, 0x1.295e15b9a1de8p-55, -0x1.a26d92ad1e4c6p-109},
    {0x1.5ab07dd485429p+0, 0x1.6324c054647adp-54, -0x1.744ee506fdafep-109},
    {0x1.5c9268a5946b7p+0, 0x1.c4b1b816986a2p-60, 0x1.ec2735254978cp-119},
    {0x1.5e76f15ad2148p+0, 0x1.ba6f93080e65ep-54, -0x1.95f9ab75fa7d6p-108},
    {0x1.605e1b976dc09p+0, -0x1.3e2429b56de47p-54, -0x1.32c54b92e2588p-110},
    {0x1.6247eb03a5585p+0, -0x1.383c17e40b497p-54, 0x1.5d8e757cfb991p-111},
    {0x1.6434634ccc320p+0, -0x1.c483c759d8933p-55, 0x1.3904000c1c40fp-110},
    {0x1.6623882552225p+0, -0x1.bb60987591c34p-54, 0x1.4a337f4dc0a3bp-108},
    {0x1.68155d44ca973p+0, 0x1.038ae44f73e65p-57, -0x1.f2803633b04ffp-113},
    {0x1.6a09e667f3bcdp+0, -0x1.bdd3413b26456p-54, 0x1.57d3e3adec175p-108},
    {0x1.6c012750bdabfp+0, -0x1.2895667ff0b0dp-56, 0x1.fef5c58766c19p-111},
    {0x1.6dfb23c651a2fp+0, -0x1.bbe3a683c88abp-57, 0x1.a59f88abbe778p-115},
    {0x1.6ff7df9519484p+0, -0x1.83c0f25860ef6p-55, -0x1.001923f4a956ep-110},
    {0x1.71f75e8ec5f74p+0, -0x1.16e4786887a99p-55, -0x1.269796953a4c3p-109},
    {0x1.73f9a48a58174p+0, -0x1.0a8d96c65d53cp-54, 0x1.82ae217f3a768p-108},
    {0x1.75feb564267c9p+0, -0x1.0245957316dd3p-54, -0x1.8f8e7fa19e5e8p-108},
    {0x1.780694fde5d3fp+0, 0x1.866b80a02162dp-54, -0x1.44d42307932f7p-108},
    {0x1.7a11473eb0187p+0, -0x1.41577ee04992fp-55, -0x1.4217a932d10d4p-113},
    {0x1.7c1ed0130c132p+0, 0x1.f124cd1164dd6p-54, -0x1.d4d236cc2bb03p-108},
    {0x1.7e2f336cf4e62p+0, 0x1.05d02ba15797ep-56, 0x1.70a1427f8fcdfp-112},
    {0x1.80427543e1a12p+0, -0x1.27c86626d972bp-54, 0x1.d4e0d71c9b16ep-109},
    {0x1.82589994cce13p+0, -0x1.d4c1dd41532d8p-54, 0x1.0f6ad65cbbac1p-112},
    {0x1.8471a4623c7adp+0, -0x1.8d684a341cdfbp-55, -0x1.591e15c16efd1p-109},
    {0x1.868d99b4492edp+0, -0x1.fc6f89bd4f6bap-54, -0x1.f16f65181d921p-109},
    {0x1.88ac7d98a6699p+0, 0x1.994c2f37cb53ap-54, 0x1.d61283ef385dep-108},
    {0x1.8ace5422aa0dbp+0, 0x1.6e9f156864b27p-54, -0x1.30644a7836333p-110},
    {0x1.8cf3216b5448cp+0, -0x1.0d55e32e9e3aap-56, -0x1.3dab3db839dd6p-111},
    {0x1.8f1ae99157736p+0, 0x1.5cc13a2e3976cp-55, 0x1.3bf26d2b85163p-114},
    {0x1.9145b0b91ffc6p+0, -0x1.dd6792e582524p-54, 0x1.c03855204534ap-109},
    {0x1.93737b0cdc5e5p+0, -0x1.75fc781b57ebcp-57, 0x1.697e257ac0db2p-111},
    {0x1.95a44cbc8520fp+0, -0x1.64b7c96a5f039p-56, -0x1.07053c9a98bbbp-113},
    {0x1.97d829fde4e50p+0, -0x1.d185b7c1b85d1p-54, 0x1.7edb9d7144b6fp-108},
    {0x1.9a0f170ca07bap+0, -0x1.173bd91cee632p-54, -0x1.053987854965fp-110},
    {0x1.9c49182a3f090p+0, 0x1.c7c46b071f2bep-56, 0x1.6376b7943085cp-110},
    {0x1.9e86319e32323p+0, 0x1.824ca78e64c6ep-56, 0x1.0f92c082bbae0p-116},
    {0x1.a0c667b5de565p+0, -0x1.359495d1cd533p-54, 0x1.354084551b4fbp-109},
    {0x1.a309bec4a2d33p+0, 0x1.6305c7ddc36abp-54, 0x1.547fa22c26d17p-108},
    {0x1.a5503b23e255dp+0, -0x1.d2f6edb8d41e1p-54, -0x1.bfd7adfd63f48p-111},
    {0x1.a799e1330b358p+0, 0x1.bcb7ecac563c7p-54, -0x1.678693176f751p-108},
    {0x1.a9e6b5579fdbfp+0, 0x1.0fac90ef7fd31p-54, 0x1.8b16ae39e8cb9p-109},
    {0x1.ac36bbfd3f37ap+0, -0x1.f9234cae76cd0p-55, -0x1.c60dbfc7696f8p-111},
    {0x1.ae89f995ad3adp+0, 0x1.7a1cd345dcc81p-54, 0x1.a7fbc3ae675eap-108},
    {0x1.b0e07298db666p+0, -0x1.bdef54c80e425p-54, 0x1.41cbb95c55600p-109},
    {0x1.b33a2b84f15fbp+0, -0x1.2805e3084d708p-57, 0x1.2babc0edda4d9p-111},
    {0x1.b59728de5593ap+0, -0x1.c71dfbbba6de3p-54, -0x1.c7470081df7dfp-111},
    {0x1.b7f76f2fb5e47p+0, -0x1.5584f7e54ac3bp-56, 0x1.aa64481e1ab72p-111},
    {0x1.ba5b030a1064ap+0, -0x1.efcd30e54292ep-54, -0x1.ad1bf91503c67p-113},
    {0x1.bcc1e904bc1d2p+0, 0x1.23dd07a2d9e84p-55, 0x1.9a164050e1258p-109},
    {0x1.bf2c25bd71e09p+0, -0x1.efdca3f6b9c73p-54, 0x1.27e81cecd59dap-110},
    {0x1.c199bdd85529cp+0, 0x1.11065895048ddp-55, 0x1.99e51125928dap-110},
    {0x1.c40ab5fffd07ap+0, 0x1.b4537e083c60ap-54, 0x1.4a6cdfa70f4f8p-109},
    {0x1.c67f12e57d14bp+0, 0x1.2884dff483cadp-54, -0x1.fc44c329d5cb2p-109},
    {0x1.c8f6d9406e7b5p+0, 0x1.1acbc48805c44p-56, 0x1.6edaac100b8fap-111},
    {0x1.cb720dcef9069p+0, 0x1.503cbd1e949dbp-56, 0x1.d8765566b032ep-110},
    {0x1.cdf0b555dc3fap+0, -0x1.dd83b53829d72p-55, -0x1.aea073a742049p-112},
    {0x1.d072d4a07897cp+0, -0x1.cbc3743797a9cp-54, -0x1.e7044039da0f6p-108},
    {0x1.d2f87080d89f2p+0, -0x1.d487b719d8578p-54, 0x1.2da62b2a9fae7p-111},
    {0x1.d5818dcfba487p+0, 0x1.2ed02d75b3707p-55, -0x1.ab053b05531fcp-111},
    {0x1.d80e316c98398p+0, -0x1.11ec18beddfe8p-54, -0x1.ed04e7ac8765ap-110},
    {0x1.da9e603db3285p+0, 0x1.c2300696db532p-54, 0x1.7f6246f0ec615p-108},
    {0x1.dd321f301b460p+0, 0x1.2da5778f018c3p-54, -0x1.c6cdead661cf3p-108},
    {0x1.dfc97337b9b5fp+0, -0x1.1a5cd4f184b5cp-54, 0x1.b7225a944efd6p-108},
    {0x1.e264614f5a129p+0, -0x1.7b627817a1496p-54, -0x1.b9818808c409ap-108},
    {0x1.e502ee78b3ff6p+0, 0x1.39e8980a9cc8fp-55, 0x1.1e92cb3c2d278p-109},
    {0x1.e7a51fbc74c83p+0, 0x1.2d522ca0c8de2p-54, -0x1.8a757b0b6a9cbp-108},
    {0x1.ea4afa2a490dap+0, -0x1.e9c23179c2893p-54, -0x1.fc0f242bbf3dep-109},
    {0x1.ecf482d8e67f1p+0, -0x1.c93f3b411ad8cp-54, -0x1.0b9dfef44b43bp-108},
    {0x1.efa1bee615a27p+0, 0x1.dc7f486a4b6b0p-54, 0x1.f6dd5d229ff69p-108},
    {0x1.f252b376bba97p+0, 0x1.3a1a5bf0d8e43p-54, 0x1.4c6ad5476b516p-108},
    {0x1.f50765b6e4540p+0, 0x1.9d3e12dd8a18bp-54, -0x1.4019bffc80ef3p-110},
    {0x1.f7bfdad9cbe14p+0, -0x1.dbb12d006350ap-54, 0x1.5c5ce7280fa4dp-108},
    {0x1.fa7c1819e90d8p+0, 0x1.74853f3a5931ep-55, 0x1.dc060c36f7651p-112},
    {0x1.fd3c22b8f71f1p+0, 0x1.2eb74966579e7p-57, 0x1.2f096934ec56cp-111},
};

// The fast path's 2^(j/128) = hi + lo, hi of 41 significant bits (nearest) so
// that hi times a number of 12 bits is exact, lo the double nearest the rest
// (relative error below 2^-94).
constexpr Pair kExpFastTable[128] = {
    {0x1p+0, 0.0},
    {0x1.0163da9fb3000p+0, 0x1.9ab6c2533571ap-43},
    {0x1.02c9a3e778000p+0, 0x1.83b9bdf2b293ep-46},
    {0x1.04315e86e8000p+0, -0x1.ed0a31c1977c9p-46},
    {0x1.059b0d3158000p+0, 0x1.5d0eb9f1523aep-42},
    {0x1.0706b29ddf000p+0, 0x1.b771b7100ea76p-42},
    {0x1.087451875a000p+0, -0x1.0dfdcf283689bp-42},
    {0x1.09e3ecac6f000p+0, 0x1.c1a290f03062cp-43},
    {0x1.0b5586cf99000p+0, -0x1.bc2759d1b523ap-42},
    {0x1.0cc922b724000p+0, 0x1.fdd01edc16e25p-42},
    {0x1.0e3ec32d3d000p+0, 0x1.a2020742e4f8bp-44},
    {0x1.0fb66affed000p+0, 0x1.8d7919048eec5p-43},
    {0x1.11301d0126000p+0, -0x1.2bd6c5103944ap-42},
    {0x1.12abdc06c3000p+0, 0x1.cbfb92bad324dp-44},
    {0x1.1429aaea93000p+0, -0x1.10265f7f35e27p-43},
    {0x1.15a98c8a59000p+0, -0x1.aedb7f2a8c22bp-44},
    {0x1.172b83c7d5000p+0, 0x1.7adcdf7c8c50fp-44},
    {0x1.18af9388c9000p+0, -0x1.0b222047a32e2p-43},
    {0x1.1a35beb6fd000p+0, -0x1.22b0d259c25b5p-42},
    {0x1.1bbe084046000p+0, -0x1.9632a70c6a5dfp-43},
    {0x1.1d4873168c000p+0, -0x1.9561fe91ff5dap-42},
    {0x1.1ed5022fce000p+0, -0x1.b8d1df98027bbp-42},
    {0x1.2063b88629000p+0, -0x1.94e2388a7eb58p-43},
    {0x1.21f49917de000p+0, -0x1.b4ed56816b6b6p-43},
    {0x1.2387a6e756000p+0, 0x1.1c3360fd6d8e1p-43},
    {0x1.251ce4fb2a000p+0, 0x1.8fcd60aadf7a8p-42},
    {0x1.26b4565e28000p+0, -0x1.916d42cc66bf1p-43},
    {0x1.284dfe1f56000p+0, 0x1.c04b678ae781ep-43},
    {0x1.29e9df51fe000p+0, -0x1.1ed3da2ea0a5ep-44},
    {0x1.2b87fd0dae000p+0, -0x1.9c008856e6b1cp-42},
    {0x1.2d285a6e40000p+0, 0x1.85a0048ea9b68p-43},
    {0x1.2ecafa93e3000p+0, -0x1.53dc6be17455cp-45},
    {0x1.306fe0a31b000p+0, 0x1.c54b7a356918cp-42},
    {0x1.32170fc4ce000p+0, -0x1.f3b2b18c38f40p-42},
    {0x1.33c08b2641000p+0, 0x1.bfd3272184366p-42},
    {0x1.356c55f92a000p+0, -0x1.e6d73b9713919p-49},
    {0x1.371a7373ab000p+0, -0x1.8d563aeabf42fp-42},
    {0x1.38cae6d05e000p+0, -0x1.e69e958d3c990p-42},
    {0x1.3a7db34e5a000p+0, -0x1.22bc86dacc3ecp-49},
    {0x1.3c32dc313b000p+0, -0x1.c6defff8375d3p-42},
    {0x1.3dea64c123000p+0, 0x1.088d6d0488f85p-42},
    {0x1.3fa4504ac8000p+0, 0x1.ba0bf701aa418p-48},
    {0x1.4160a21f73000p+0, -0x1.d607bcda470c2p-44},
    {0x1.431f5d950b000p+0, -0x1.da48e3eef1afcp-42},
    {0x1.44e0860619000p+0, -0x1.b4bf3b242fd88p-42},
    {0x1.46a41ed1d0000p+0, 0x1.5dc944bd1648ap-46},
    {0x1.486a2b5c14000p+0, -0x1.97f61f2e24b7dp-43},
    {0x1.4a32af0d7d000p+0, 0x1.ef3396c5e7a38p-43},
    {0x1.4bfdad5363000p+0, -0x1.7638af1a1404fp-42},
    {0x1.4dcb299fde000p+0, -0x1.794e2648872b1p-43},
    {0x1.4f9b2769d3000p+0, -0x1.aca96613a4b2bp-43},
    {0x1.516daa2cf6000p+0, 0x1.907044bd4b213p-42},
    {0x1.5342b569d5000p+0, -0x1.f883d5f0ed89ep-46},
    {0x1.551a4ca5d9000p+0, 0x1.0762976310122p-43},
    {0x1.56f4736b52000p+0, 0x1.f699bb2c011d9p-42},
    {0x1.58d12d497c000p+0, 0x1.ff494af0adcd1p-42},
    {0x1.5ab07dd485000p+0, 0x1.0a56324c05464p-42},
    {0x1.5c9268a594000p+0, 0x1.adc0712c6e05ap-42},
    {0x1.5e76f15ad2000p+0, 0x1.486e9be4c203ap-44},
    {0x1.605e1b976e000p+0, -0x1.fba7c48536adcp-43},
    {0x1.6247eb03a5000p+0, 0x1.612c7c3e81bf5p-42},
    {0x1.6434634ccc000p+0, 0x1.8fe3b7c38a627p-43},
    {0x1.6623882552000p+0, 0x1.124893ecf14dcp-43},
    {0x1.68155d44cb000p+0, -0x1.a33df8ea37612p-42},
    {0x1.6a09e667f4000p+0, -0x1.0cdbdd3413b26p-42},
    {0x1.6c012750be000p+0, -0x1.5044a25599ffcp-42},
    {0x1.6dfb23c652000p+0, -0x1.744377c74d079p-42},
    {0x1.6ff7df9519000p+0, 0x1.20f3e1f86d3d0p-42},
    {0x1.71f75e8ec6000p+0, -0x1.1845b91e1a21fp-45},
    {0x1.73f9a48a58000p+0, 0x1.73bd5c9a4e68bp-44},
    {0x1.75feb56426000p+0, 0x1.f22fdba6a8ce9p-42},
    {0x1.780694fde6000p+0, -0x1.604f328febfbdp-43},
    {0x1.7a11473eb0000p+0, 0x1.86d7d51023f6dp-44},
    {0x1.7c1ed0130c000p+0, 0x1.327c493344593p-44},
    {0x1.7e2f336cf5000p+0, -0x1.9defa2fd45ea8p-44},
    {0x1.80427543e2000p+0, -0x1.7b927c86626d9p-42},
    {0x1.82589994cd000p+0, -0x1.ed7530775054dp-44},
    {0x1.8471a4623c000p+0, 0x1.eb3394bdae5f2p-42},
    {0x1.868d99b449000p+0, 0x1.7640720ec8561p-43},
    {0x1.88ac7d98a6000p+0, 0x1.a65994c2f37cbp-42},
    {0x1.8ace5422aa000p+0, 0x1.b6b74f8ab4326p-45},
    {0x1.8cf3216b54000p+0, 0x1.22fbcaa873458p-42},
    {0x1.8f1ae99157000p+0, 0x1.cd8ae609d171dp-42},
    {0x1.9145b0b920000p+0, -0x1.d3bacf25cb04ap-47},
    {0x1.93737b0cdc000p+0, 0x1.793d14070fc95p-42},
    {0x1.95a44cbc85000p+0, 0x1.0774da41b4ad0p-43},
    {0x1.97d829fde5000p+0, -0x1.b074616df06e1p-44},
    {0x1.9a0f170ca0000p+0, 0x1.ee6e8c426e312p-42},
    {0x1.9c49182a3f000p+0, 0x1.2038f88d60e3ep-45},
    {0x1.9e86319e32000p+0, 0x1.918c12653c732p-43},
    {0x1.a0c667b5de000p+0, 0x1.592ca6b6a2e33p-42},
    {0x1.a309bec4a3000p+0, -0x1.66539f4704479p-43},
    {0x1.a5503b23e2000p+0, 0x1.5722d0912472cp-42},
    {0x1.a799e1330b000p+0, 0x1.ac3796fd958acp-43},
    {0x1.a9e6b557a0000p+0, -0x1.205e0a6de2100p-43},
    {0x1.ac36bbfd3f000p+0, 0x1.bce06dcb35189p-43},
    {0x1.ae89f995ad000p+0, 0x1.d6af439a68bbap-43},
    {0x1.b0e07298db000p+0, 0x1.9964210ab37f2p-42},
    {0x1.b33a2b84f1000p+0, 0x1.7ebdaff439ef6p-42},
    {0x1.b59728de56000p+0, -0x1.b19c71dfbbba7p-42},
    {0x1.b7f76f2fb6000p+0, -0x1.b915584f7e54bp-44},
    {0x1.ba5b030a10000p+0, 0x1.9261032cf1abdp-42},
    {0x1.bcc1e904bc000p+0, 0x1.d2247ba0f45b4p-44},
    {0x1.bf2c25bd72000p+0, -0x1.f77bf728fdae7p-44},
    {0x1.c199bdd855000p+0, 0x1.4e11106589505p-43},
    {0x1.c40ab5fffd000p+0, 0x1.e9b4537e083c6p-46},
    {0x1.c67f12e57d000p+0, 0x1.4b4a2137fd20fp-44},
    {0x1.c8f6d9406e000p+0, 0x1.ed446b2f12201p-42},
    {0x1.cb720dcef9000p+0, 0x1.a4540f2f47a52p-46},
    {0x1.cdf0b555dc000p+0, 0x1.fce227c4ac7d6p-43},
    {0x1.d072d4a079000p+0, -0x1.a11cbc3743798p-42},
    {0x1.d2f87080d9000p+0, -0x1.839d487b719d8p-42},
    {0x1.d5818dcfba000p+0, 0x1.21c976816badap-42},
    {0x1.d80e316c98000p+0, 0x1.cbddc27ce8244p-43},
    {0x1.da9e603db3000p+0, 0x1.42b84600d2db7p-43},
    {0x1.dd321f301b000p+0, 0x1.1812da5778f02p-42},
    {0x1.dfc97337ba000p+0, -0x1.2851a5cd4f185p-42},
    {0x1.e264614f5a000p+0, 0x1.28a12761fa17bp-44},
    {0x1.e502ee78b4000p+0, -0x1.3b185d9fd58cep-49},
    {0x1.e7a51fbc75000p+0, -0x1.be5a55ba6be6ep-43},
    {0x1.ea4afa2a49000p+0, 0x1.b30b1ee7431ecp-45},
    {0x1.ecf482d8e6000p+0, 0x1.fc236c0c4bee5p-42},
    {0x1.efa1bee616000p+0, -0x1.7622380b795b5p-42},
    {0x1.f252b376bc000p+0, -0x1.5a2c5e5a40f27p-42},
    {0x1.f50765b6e4000p+0, 0x1.5019d3e12dd8ap-42},
    {0x1.f7bfdad9cc000p+0, -0x1.ec76ec4b4018dp-44},
    {0x1.fa7c1819e9000p+0, 0x1.b05d214fce965p-45},
    {0x1.fd3c22b8f7000p+0, 0x1.f10975ba4b32cp-44},
};

// 1/n! = hi + mid + lo for n = 0..13.
constexpr Triple kInverseFactorial[14] = {
    {0x1p+0, 0.0, 0.0},
    {0x1p+0, 0.0, 0.0},
    {0x1p-1, 0.0, 0.0},
    {0x1.5555555555555p-3, 0x1.5555555555555p-57, 0x1.5555555555555p-111},
    {0x1.5555555555555p-5, 0x1.5555555555555p-59, 0x1.5555555555555p-113},
    {0x1.1111111111111p-7, 0x1.1111111111111p-63, 0x1.1111111111111p-119},
    {0x1.6c16c16c16c17p-10, -0x1.f49f49f49f49fp-65, -0x1.27d27d27d27d2p-119},
    {0x1.a01a01a01a01ap-13, 0x1.a01a01a01a01ap-73, 0x1.a01a01a01a01ap-133},
    {0x1.a01a01a01a01ap-16, 0x1.a01a01a01a01ap-76, 0x1.a01a01a01a01ap-136},
    {0x1.71de3a556c734p-19, -0x1.c154f8ddc6c00p-73, 0x1.71de3a556c734p-127},
    {0x1.27e4fb7789f5cp-22, 0x1.cbbc05b4fa99ap-76, -0x1.c6d278883e8f5p-132},
    {0x1.ae64567f544e4p-26, -0x1.c062e06d1f209p-80, 0x1.c7880adcbc46ep-136},
    {0x1.1eed8eff8d898p-29, -0x1.2aec959e14c06p-83, 0x1.2fb0073dd2d9ep-139},
    {0x1.6124613a86d09p-33, 0x1.f28e0cc748ebep-87, -0x1.7b2c4c8a840bcp-141},
};

// ln 2 = kLn2Part1 + kLn2Part2 + kLn2Part3 + kLn2Part4 (error below 2^-190); the
// first two have 42 significant bits, so E * part is exact for |E| < 2^11.
// kLn2Tail is the double nearest ln 2 - kLn2Part1, for the fast path.
constexpr double kLn2Part1 = 0x1.62e42fefa3800p-1;
constexpr double kLn2Part2 = 0x1.ef35793c76000p-45;
constexpr double kLn2Part3 = 0x1.cc01f97b57a08p-87;
constexpr double kLn2Part4 = -0x1.979b31ace93a5p-141;
constexpr double kLn2Tail = 0x1.ef35793c76730p-45;

// Bucket i of the significand m in [0.6875, 1.375) holds the bit patterns
// 0x3fe6000000000000 + i 2^45 up to the next; c is an inverse of 8 significant bits of the
// bucket (1 for the two buckets next to 1) and -ln c = hi + mid + lo.
// Over every bucket |m c - 1| < 2^-7 (the top of a bucket belongs to the next).
constexpr LogBucket kLogTable[128] = {
    {0x1.7400000000000p+0, {-0x1.7eaf83b82afc3p-2, -0x1.92ce979ed2950p-56, -0x1.0dc5832ff2fdcp-110}},
    {0x1.7200000000000p+0, {-0x1.792a55fdd47a2p-2, -0x1.f057691fe9ed7p-56, 0x1.fa980f34439f2p-110}},
    {0x1.7000000000000p+0, {-0x1.739d7f6bbd007p-2, 0x1.8c76ceb014b04p-56, 0x1.0d2a910f7918bp-111}},
    {0x1.6e00000000000p+0, {-0x1.6e08eaa2ba1e4p-2, 0x1.cfb1b39ca3a0fp-56, 0x1.0fce95182c66ap-110}},
    {0x1.6c00000000000p+0, {-0x1.686c81e9b14afp-2, 0x1.ddea0f7f58e3dp-57, -0x1.2c96f6f68e19dp-111}},
    {0x1.6a00000000000p+0, {-0x1.62c82f2b9c795p-2, -0x1.7b7af915300e5p-57, -0x1.7391362aee92cp-113}},
    {0x1.6800000000000p+0, {-0x1.5d1bdbf5809cap-2, -0x1.4236383dc7fe1p-56, -0x1.59f380b4a6b43p-112}},
    {0x1.6600000000000p+0, {-0x1.5767717455a6cp-2, -0x1.526adb283660cp-56, 0x1.7f83a3e5e6736p-111}},
    {0x1.6400000000000p+0, {-0x1.51aad872df82dp-2, -0x1.3927ac19f55e3p-59, -0x1.1d4f4f357cbfbp-115}},
    {0x1.6200000000000p+0, {-0x1.4be5f957778a1p-2, 0x1.259b35b04813dp-57, -0x1.1eb953458673dp-112}},
    {0x1.6000000000000p+0, {-0x1.4618bc21c5ec2p-2, -0x1.f42decdeccf1dp-56, 0x1.77d446996da00p-111}},
    {0x1.5e00000000000p+0, {-0x1.404308686a7e4p-2, 0x1.0bcfb6082ce6dp-56, 0x1.9ea6f9f60989cp-110}},
    {0x1.5c00000000000p+0, {-0x1.3a64c556945eap-2, 0x1.c68651945f97cp-57, -0x1.beb7a3cee7e03p-111}},
    {0x1.5a00000000000p+0, {-0x1.347dd9a987d55p-2, 0x1.4dd4c580919f8p-57, -0x1.ee510a580b3b3p-111}},
    {0x1.5800000000000p+0, {-0x1.2e8e2bae11d31p-2, 0x1.8f4cdb95ebdf9p-56, 0x1.864244294826fp-111}},
    {0x1.5600000000000p+0, {-0x1.2895a13de86a3p-2, -0x1.7ad24c13f040ep-56, -0x1.62d6a3aacbe58p-110}},
    {0x1.5400000000000p+0, {-0x1.22941fbcf7966p-2, 0x1.76f5eb09628afp-56, 0x1.a168b2a9642c4p-111}},
    {0x1.5200000000000p+0, {-0x1.1c898c16999fbp-2, 0x1.0e5c62aff1c44p-60, 0x1.e623be88a509bp-115}},
    {0x1.5000000000000p+0, {-0x1.1675cababa60ep-2, -0x1.ce63eab883717p-61, -0x1.1f833e82521e1p-119}},
    {0x1.5000000000000p+0, {-0x1.1675cababa60ep-2, -0x1.ce63eab883717p-61, -0x1.1f833e82521e1p-119}},
    {0x1.4e00000000000p+0, {-0x1.1058bf9ae4ad5p-2, -0x1.89fa0ab4cb31dp-58, 0x1.eb31a74640ec7p-116}},
    {0x1.4c00000000000p+0, {-0x1.0a324e27390e3p-2, -0x1.7dcfde8061c03p-56, -0x1.c51bc06b5f7c1p-113}},
    {0x1.4a00000000000p+0, {-0x1.0402594b4d041p-2, 0x1.28ec217a5022dp-57, 0x1.0dddc4cf9a1f9p-111}},
    {0x1.4800000000000p+0, {-0x1.fb9186d5e3e2bp-3, 0x1.caaae64f21acbp-57, 0x1.35f6dfd3ddd52p-111}},
    {0x1.4600000000000p+0, {-0x1.ef0adcbdc5936p-3, -0x1.48637950dc20dp-57, 0x1.eb052d7b3cbe3p-111}},
    {0x1.4600000000000p+0, {-0x1.ef0adcbdc5936p-3, -0x1.48637950dc20dp-57, 0x1.eb052d7b3cbe3p-111}},
    {0x1.4400000000000p+0, {-0x1.e27076e2af2e6p-3, 0x1.61578001e0162p-59, -0x1.55db94ebc4018p-115}},
    {0x1.4200000000000p+0, {-0x1.d5c216b4fbb91p-3, -0x1.6e443597e4d40p-57, -0x1.c3c6ce7a257f4p-113}},
    {0x1.4000000000000p+0, {-0x1.c8ff7c79a9a22p-3, 0x1.4f689f8434012p-57, -0x1.a24ae3b2f53a1p-111}},
    {0x1.3e00000000000p+0, {-0x1.bc286742d8cd6p-3, -0x1.4fce744870f55p-58, 0x1.e1d3c235b937cp-115}},
    {0x1.3e00000000000p+0, {-0x1.bc286742d8cd6p-3, -0x1.4fce744870f55p-58, 0x1.e1d3c235b937cp-115}},
    {0x1.3c00000000000p+0, {-0x1.af3c94e80bff3p-3, 0x1.398cff3641985p-58, 0x1.a262591d1968bp-114}},
    {0x1.3a00000000000p+0, {-0x1.a23bc1fe2b563p-3, -0x1.93711b07a998cp-59, -0x1.3f1f8db36c599p-114}},
    {0x1.3800000000000p+0, {-0x1.9525a9cf456b4p-3, -0x1.d904c1d4e2e26p-57, 0x1.89d9afa096184p-111}},
    {0x1.3800000000000p+0, {-0x1.9525a9cf456b4p-3, -0x1.d904c1d4e2e26p-57, 0x1.89d9afa096184p-111}},
    {0x1.3600000000000p+0, {-0x1.87fa06520c911p-3, 0x1.bf7fdbfa08d9ap-57, 0x1.0a5aa8fb49481p-112}},
    {0x1.3400000000000p+0, {-0x1.7ab890210d909p-3, -0x1.be36b2d6a0608p-59, -0x1.91ff852536204p-117}},
    {0x1.3200000000000p+0, {-0x1.6d60fe719d21dp-3, 0x1.caae268ecd179p-57, 0x1.c825cda7da31dp-114}},
    {0x1.3200000000000p+0, {-0x1.6d60fe719d21dp-3, 0x1.caae268ecd179p-57, 0x1.c825cda7da31dp-114}},
    {0x1.3000000000000p+0, {-0x1.5ff3070a793d4p-3, 0x1.bc60efafc6f6ep-58, 0x1.1406554719540p-113}},
    {0x1.2e00000000000p+0, {-0x1.526e5e3a1b438p-3, 0x1.746ff8a470d3ap-57, -0x1.a6dbcc63b5444p-111}},
    {0x1.2e00000000000p+0, {-0x1.526e5e3a1b438p-3, 0x1.746ff8a470d3ap-57, -0x1.a6dbcc63b5444p-111}},
    {0x1.2c00000000000p+0, {-0x1.44d2b6ccb7d1ep-3, -0x1.9f4f6543e1f88p-57, 0x1.f3be9a8337458p-111}},
    {0x1.2a00000000000p+0, {-0x1.371fc201e8f74p-3, -0x1.de6cb62af18a0p-58, 0x1.a2fc19b24ab16p-113}},
    {0x1.2a00000000000p+0, {-0x1.371fc201e8f74p-3, -0x1.de6cb62af18a0p-58, 0x1.a2fc19b24ab16p-113}},
    {0x1.2800000000000p+0, {-0x1.29552f81ff523p-3, -0x1.301771c407dbfp-57, 0x1.977b021b7c784p-111}},
    {0x1.2600000000000p+0, {-0x1.1b72ad52f67a0p-3, -0x1.483023472cd74p-58, 0x1.81887026f66adp-112}},
    {0x1.2600000000000p+0, {-0x1.1b72ad52f67a0p-3, -0x1.483023472cd74p-58, 0x1.81887026f66adp-112}},
    {0x1.2400000000000p+0, {-0x1.0d77e7cd08e59p-3, -0x1.9a5dc5e9030acp-57, 0x1.71dbd9a581398p-111}},
    {0x1.2200000000000p+0, {-0x1.fec9131dbeabbp-4, 0x1.5746b9981b36cp-58, 0x1.c4016e1d457eep-112}},
    {0x1.2200000000000p+0, {-0x1.fec9131dbeabbp-4, 0x1.5746b9981b36cp-58, 0x1.c4016e1d457eep-112}},
    {0x1.2000000000000p+0, {-0x1.e27076e2af2e6p-4, 0x1.61578001e0162p-60, -0x1.55db94ebc4018p-116}},
    {0x1.1e00000000000p+0, {-0x1.c5e548f5bc743p-4, -0x1.5d617ef8161b1p-60, -0x1.da7659abe370ep-114}},
    {0x1.1e00000000000p+0, {-0x1.c5e548f5bc743p-4, -0x1.5d617ef8161b1p-60, -0x1.da7659abe370ep-114}},
    {0x1.1c00000000000p+0, {-0x1.a926d3a4ad563p-4, -0x1.942f48aa70ea9p-58, -0x1.8f353ecfc45dap-113}},
    {0x1.1c00000000000p+0, {-0x1.a926d3a4ad563p-4, -0x1.942f48aa70ea9p-58, -0x1.8f353ecfc45dap-113}},
    {0x1.1a00000000000p+0, {-0x1.8c345d6319b21p-4, 0x1.4a697ab3424a9p-61, 0x1.e547ecfe0df94p-115}},
    {0x1.1800000000000p+0, {-0x1.6f0d28ae56b4cp-4, 0x1.906d99184b992p-58, 0x1.bf31af3e109afp-112}},
    {0x1.1800000000000p+0, {-0x1.6f0d28ae56b4cp-4, 0x1.906d99184b992p-58, 0x1.bf31af3e109afp-112}},
    {0x1.1600000000000p+0, {-0x1.51b073f06183fp-4, -0x1.a49e39a1a8be4p-58, -0x1.584bc9c7e09bcp-112}},
    {0x1.1600000000000p+0, {-0x1.51b073f06183fp-4, -0x1.a49e39a1a8be4p-58, -0x1.584bc9c7e09bcp-112}},
    {0x1.1400000000000p+0, {-0x1.341d7961bd1d1p-4, 0x1.b599f227becbbp-58, 0x1.15fbcbe26b491p-113}},
    {0x1.1200000000000p+0, {-0x1.16536eea37ae1p-4, 0x1.79da3e8c22cdap-60, 0x1.b925bd6fa5998p-116}},
    {0x1.1200000000000p+0, {-0x1.16536eea37ae1p-4, 0x1.79da3e8c22cdap-60, 0x1.b925bd6fa5998p-116}},
    {0x1.1000000000000p+0, {-0x1.f0a30c01162a6p-5, -0x1.85f325c5bbacdp-59, 0x1.0ece597165991p-113}},
    {0x1.1000000000000p+0, {-0x1.f0a30c01162a6p-5, -0x1.85f325c5bbacdp-59, 0x1.0ece597165991p-113}},
    {0x1.0e00000000000p+0, {-0x1.b42dd711971bfp-5, 0x1.eb9759c130499p-60, 0x1.6b5431d9cbf04p-116}},
    {0x1.0e00000000000p+0, {-0x1.b42dd711971bfp-5, 0x1.eb9759c130499p-60, 0x1.6b5431d9cbf04p-116}},
    {0x1.0c00000000000p+0, {-0x1.77458f632dcfcp-5, -0x1.18d3ca87b9296p-59, -0x1.63c9bf701b2a9p-116}},
    {0x1.0a00000000000p+0, {-0x1.39e87b9febd60p-5, 0x1.5bfa937f551bbp-59, -0x1.c8d57ae1e11bdp-114}},
    {0x1.0a00000000000p+0, {-0x1.39e87b9febd60p-5, 0x1.5bfa937f551bbp-59, -0x1.c8d57ae1e11bdp-114}},
    {0x1.0800000000000p+0, {-0x1.f829b0e783300p-6, -0x1.33e3f04f1ef23p-60, 0x1.814544147acc9p-114}},
    {0x1.0800000000000p+0, {-0x1.f829b0e783300p-6, -0x1.33e3f04f1ef23p-60, 0x1.814544147acc9p-114}},
    {0x1.0600000000000p+0, {-0x1.7b91b07d5b11bp-6, 0x1.5b602ace3a510p-60, -0x1.dcd4f102a521dp-118}},
    {0x1.0600000000000p+0, {-0x1.7b91b07d5b11bp-6, 0x1.5b602ace3a510p-60, -0x1.dcd4f102a521dp-118}},
    {0x1.0400000000000p+0, {-0x1.fc0a8b0fc03e4p-7, 0x1.83092c59642a1p-62, 0x1.52414fc416fc2p-116}},
    {0x1.0400000000000p+0, {-0x1.fc0a8b0fc03e4p-7, 0x1.83092c59642a1p-62, 0x1.52414fc416fc2p-116}},
    {0x1.0200000000000p+0, {-0x1.fe02a6b106789p-8, 0x1.e44b7e3711ebfp-67, -0x1.a567b6587df34p-121}},
    {0x1.0200000000000p+0, {-0x1.fe02a6b106789p-8, 0x1.e44b7e3711ebfp-67, -0x1.a567b6587df34p-121}},
    {0x1p+0, {0.0, 0.0, 0.0}},
    {0x1p+0, {0.0, 0.0, 0.0}},
    {0x1.fa00000000000p-1, {0x1.82448a388a2aap-7, 0x1.04b16137f09a0p-62, 0x1.59e08a212f838p-121}},
    {0x1.f600000000000p-1, {0x1.432a925980cc1p-6, -0x1.8cdaf39004192p-60, -0x1.6a347c9dbe3d4p-114}},
    {0x1.f200000000000p-1, {0x1.c63d2ec14aaf2p-6, -0x1.ce030a686bd86p-60, -0x1.c794718db12b7p-114}},
    {0x1.ee00000000000p-1, {0x1.252f32f8d183fp-5, -0x1.947f792615916p-59, 0x1.1de8382dc46ebp-115}},
    {0x1.ea00000000000p-1, {0x1.67c94f2d4bb58p-5, 0x1.0413e6505e603p-59, 0x1.85f24bc417540p-113}},
    {0x1.e800000000000p-1, {0x1.894aa149fb343p-5, 0x1.a8be97660a23dp-60, -0x1.d5f973f27591ep-115}},
    {0x1.e400000000000p-1, {0x1.ccb73cdddb2ccp-5, -0x1.e48fb0500efd4p-59, 0x1.ac00b6b1f34ccp-113}},
    {0x1.e000000000000p-1, {0x1.08598b59e3a07p-4, -0x1.dd7009902bf32p-58, -0x1.a7da07274e01dp-113}},
    {0x1.dc00000000000p-1, {0x1.2aa04a44717a5p-4, -0x1.d15d38d2fa3f7p-58, -0x1.d345728d4891bp-114}},
    {0x1.da00000000000p-1, {0x1.3bdf5a7d1ee64p-4, 0x1.7a976d3b5b45fp-59, 0x1.b282b433139abp-113}},
    {0x1.d600000000000p-1, {0x1.5e95a4d9791cbp-4, 0x1.f38745c5c450ap-58, 0x1.fe19b35ad6fe6p-112}},
    {0x1.d200000000000p-1, {0x1.8197e2f40e3f0p-4, 0x1.b9f2dffbeed43p-60, -0x1.c199e47fc4f1bp-114}},
    {0x1.d000000000000p-1, {0x1.9335e5d594989p-4, -0x1.478a85704ccb7p-58, 0x1.089735832ff2fp-112}},
    {0x1.cc00000000000p-1, {0x1.b6ac88dad5b1cp-4, -0x1.0057eed1ca59fp-59, -0x1.9c8b229da8e22p-115}},
    {0x1.c800000000000p-1, {0x1.da727638446a2p-4, 0x1.401fa71733019p-58, -0x1.0554118a2fe2dp-112}},
    {0x1.c600000000000p-1, {0x1.ec739830a1120p-4, -0x1.a2bf991780d3fp-59, -0x1.1980fad2b8c8fp-116}},
    {0x1.c200000000000p-1, {0x1.08598b59e3a07p-3, -0x1.dd7009902bf32p-57, -0x1.a7da07274e01dp-112}},
    {0x1.c000000000000p-1, {0x1.1178e8227e47cp-3, -0x1.0e63a5f01c691p-58, 0x1.03c776a3fb0f1p-112}},
    {0x1.bc00000000000p-1, {0x1.23d712a49c202p-3, -0x1.6e38161051d69p-57, -0x1.30309bfb61ce3p-111}},
    {0x1.ba00000000000p-1, {0x1.2d1610c86813ap-3, -0x1.499a3f25af95fp-58, -0x1.dedef6e5214fap-112}},
    {0x1.b600000000000p-1, {0x1.3fb45a59928ccp-3, -0x1.d87e6a354d056p-57, -0x1.55cfc4715d0cfp-111}},
    {0x1.b400000000000p-1, {0x1.4913d8333b561p-3, -0x1.0d5604930f135p-58, 0x1.046ddd0c4995fp-112}},
    {0x1.b000000000000p-1, {0x1.5bf406b543db2p-3, -0x1.1f5b44c0df7e7p-61, -0x1.25a7abe3c6675p-115}},
    {0x1.ae00000000000p-1, {0x1.6574ebe8c133ap-3, -0x1.d34f0f4621bedp-60, -0x1.0587f8805bff2p-114}},
    {0x1.aa00000000000p-1, {0x1.7898d85444c73p-3, 0x1.ef8f6ebcfb201p-58, 0x1.a90e246a61446p-112}},
    {0x1.a800000000000p-1, {0x1.823c16551a3c2p-3, -0x1.1232ce70be781p-57, -0x1.9edf854c2492ep-111}},
    {0x1.a600000000000p-1, {0x1.8beafeb38fe8cp-3, 0x1.55aa8b6997a40p-58, 0x1.5f9812ac08ffdp-113}},
    {0x1.a200000000000p-1, {0x1.9f6c407089664p-3, 0x1.35a19605e67efp-59, 0x1.c16be326ac41ap-114}},
    {0x1.a000000000000p-1, {0x1.a93ed3c8ad9e3p-3, 0x1.bcafa9de97203p-57, 0x1.ccdcee3115f1fp-111}},
    {0x1.9e00000000000p-1, {0x1.b31d8575bce3dp-3, -0x1.6353ab386a94dp-57, -0x1.0459563c86e85p-112}},
    {0x1.9a00000000000p-1, {0x1.c6ffbc6f00f71p-3, -0x1.8e58b2c57a4a5p-57, 0x1.0f039c9a8a2e5p-111}},
    {0x1.9800000000000p-1, {0x1.d1037f2655e7bp-3, 0x1.60629242471a2p-57, 0x1.f01fe115ec7f7p-113}},
    {0x1.9600000000000p-1, {0x1.db13db0d48940p-3, 0x1.aa11d49f96cb9p-58, -0x1.f3a153d8d4fe0p-112}},
    {0x1.9400000000000p-1, {0x1.e530effe71012p-3, 0x1.2276041f43042p-59, -0x1.b5b6e7d96592dp-113}},
    {0x1.9000000000000p-1, {0x1.f991c6cb3b379p-3, 0x1.f665066f980a2p-57, -0x1.c93e26ec48e0ep-111}},
    {0x1.8e00000000000p-1, {0x1.01eae5626c691p-2, -0x1.18290bd2932e2p-59, 0x1.d5f4501b8b4a6p-113}},
    {0x1.8c00000000000p-1, {0x1.07138604d5862p-2, 0x1.cdb16ed4e9138p-56, 0x1.f43e8535d8899p-110}},
    {0x1.8a00000000000p-1, {0x1.0c42d676162e3p-2, 0x1.162c79d5d11eep-58, 0x1.078ecd47fd065p-112}},
    {0x1.8800000000000p-1, {0x1.1178e8227e47cp-2, -0x1.0e63a5f01c691p-57, 0x1.03c776a3fb0f1p-111}},
    {0x1.8400000000000p-1, {0x1.1bf99635a6b95p-2, -0x1.12aeb84249223p-57, -0x1.4298ef6ad5800p-111}},
    {0x1.8200000000000p-1, {0x1.214456d0eb8d4p-2, 0x1.f7ae91aeba60ap-57, -0x1.bbc46cf6d5b05p-112}},
    {0x1.8000000000000p-1, {0x1.269621134db92p-2, 0x1.e0efadd9db02bp-56, -0x1.63d5cf0b6f233p-110}},
    {0x1.7e00000000000p-1, {0x1.2bef07cdc9354p-2, -0x1.82dad7fd86088p-56, 0x1.8cc4b2b27c162p-111}},
    {0x1.7c00000000000p-1, {0x1.314f1e1d35ce4p-2, -0x1.3d69909e5c3dcp-56, -0x1.f0f8d6f3c6a8ep-110}},
    {0x1.7a00000000000p-1, {0x1.36b6776be1117p-2, -0x1.324f0e883858ep-58, 0x1.5f12812782422p-112}},
    {0x1.7800000000000p-1, {0x1.3c25277333184p-2, -0x1.2ad27e50a8ec6p-56, -0x1.5ea8429f9f46dp-111}},
    {0x1.7600000000000p-1, {0x1.419b423d5e8c7p-2, 0x1.0dbb243827392p-57, -0x1.c920829097668p-111}},
};

// (-1)^(n+1)/n = hi + mid + lo for n = 0..22 (n = 0 unused), the series of ln(1 + r).
constexpr Triple kLogSeries[23] = {
    {0.0, 0.0, 0.0},
    {0x1p+0, 0.0, 0.0},
    {-0x1p-1, 0.0, 0.0},
    {0x1.5555555555555p-2, 0x1.5555555555555p-56, 0x1.5555555555555p-110},
    {-0x1p-2, 0.0, 0.0},
    {0x1.999999999999ap-3, -0x1.999999999999ap-57, 0x1.999999999999ap-111},
    {-0x1.5555555555555p-3, -0x1.5555555555555p-57, -0x1.5555555555555p-111},
    {0x1.2492492492492p-3, 0x1.2492492492492p-57, 0x1.2492492492492p-111},
    {-0x1p-3, 0.0, 0.0},
    {0x1.c71c71c71c71cp-4, 0x1.c71c71c71c71cp-58, 0x1.c71c71c71c71cp-112},
    {-0x1.999999999999ap-4, 0x1.999999999999ap-58, -0x1.999999999999ap-112},
    {0x1.745d1745d1746p-4, -0x1.745d1745d1746p-59, 0x1.745d1745d1746p-114},
    {-0x1.5555555555555p-4, -0x1.5555555555555p-58, -0x1.5555555555555p-112},
    {0x1.3b13b13b13b14p-4, -0x1.3b13b13b13b14p-58, 0x1.3b13b13b13b14p-112},
    {-0x1.2492492492492p-4, -0x1.2492492492492p-58, -0x1.2492492492492p-112},
    {0x1.1111111111111p-4, 0x1.1111111111111p-60, 0x1.1111111111111p-116},
    {-0x1p-4, 0.0, 0.0},
    {0x1.e1e1e1e1e1e1ep-5, 0x1.e1e1e1e1e1e1ep-61, 0x1.e1e1e1e1e1e1ep-117},
    {-0x1.c71c71c71c71cp-5, -0x1.c71c71c71c71cp-59, -0x1.c71c71c71c71cp-113},
    {0x1.af286bca1af28p-5, 0x1.af286bca1af28p-59, 0x1.af286bca1af28p-113},
    {-0x1.999999999999ap-5, 0x1.999999999999ap-59, -0x1.999999999999ap-113},
    {0x1.8618618618618p-5, 0x1.8618618618618p-59, 0x1.8618618618618p-113},
    {-0x1.745d1745d1746p-5, 0x1.745d1745d1746p-60, -0x1.745d1745d1746p-115},
};
// END GENERATED TABLES

constexpr double kInfinity = std::numeric_limits<double>::infinity();
// Adding and subtracting 1.5 * 2^52 rounds a double below 2^51 in magnitude to
// the nearest integer; the integer then sits in the low bits of the sum.
constexpr double kRoundingShift = 0x1.8p52;
// The same with 1.5 * 2^32 rounds to a multiple of 2^-20.
constexpr double kTwelveBitShift = 0x1.8p32;

uint64_t bitsOf(double x) {
    uint64_t bits;
    std::memcpy(&bits, &x, sizeof bits);
    return bits;
}

double fromBits(uint64_t bits) {
    double x;
    std::memcpy(&x, &bits, sizeof x);
    return x;
}

double absolute(double x) { return fromBits(bitsOf(x) & 0x7fffffffffffffffULL); }

// 2^k for -1022 <= k <= 1023.
double powerOfTwo(int k) { return fromBits(static_cast<uint64_t>(k + 1023) << 52); }

// ------------------------------------------------------------- exact sums and products

// a + b = hi + lo exactly, when |a| >= |b| (or a = 0).
inline Pair fastTwoSum(double a, double b) {
    const double s = a + b;
    return {s, b - (s - a)};
}

// a + b = hi + lo exactly, for any a and b.
inline Pair twoSum(double a, double b) {
    const double s = a + b;
    const double bPart = s - a;
    const double aPart = s - bPart;
    return {s, (a - aPart) + (b - bPart)};
}

// a = hi + lo with 26 significant bits in each (Veltkamp), for |a| < 2^995.
inline Pair split(double a) {
    const double c = 134217729.0 * a; // 2^27 + 1
    const double hi = c - (c - a);
    return {hi, a - hi};
}

// a * b = hi + lo exactly (Dekker), when no partial product underflows.
inline Pair twoProduct(double a, double b) {
    const double p = a * b;
    const Pair as = split(a);
    const Pair bs = split(b);
    const double e = ((as.hi * bs.hi - p) + as.hi * bs.lo + as.lo * bs.hi) + as.lo * bs.lo;
    return {p, e};
}

// ------------------------------------------------------------- triple-double arithmetic
//
// Each operation keeps every partial result exactly (two-sum, Dekker) except
// the few products and sums of terms already below 2^-104 of the result, and
// drops only products below 2^-158 of it: the relative error of one add of
// operands of one sign, or of one multiplication, is below 2^-154.

Triple renormalize(double hi, double mid, double lo) {
    const Pair low = twoSum(mid, lo);
    const Pair top = twoSum(hi, low.hi);
    const Pair rest = twoSum(top.lo, low.lo);
    return {top.hi, rest.hi, rest.lo};
}

Triple add(const Triple &a, const Triple &b) {
    const Pair high = twoSum(a.hi, b.hi);
    const Pair middle = twoSum(a.mid, b.mid);
    const Pair carried = twoSum(middle.hi, high.lo);
    const double low = (a.lo + b.lo) + (middle.lo + carried.lo);
    return renormalize(high.hi, carried.hi, low);
}

Triple addDouble(const Triple &a, double b) { return add(a, Triple{b, 0.0, 0.0}); }

Triple multiply(const Triple &a, const Triple &b) {
    const Pair p0 = twoProduct(a.hi, b.hi);
    const Pair p1 = twoProduct(a.hi, b.mid);
    const Pair p2 = twoProduct(a.mid, b.hi);
    const Pair s1 = twoSum(p1.hi, p2.hi);
    const Pair s2 = twoSum(s1.hi, p0.lo);
    const double low =
        ((s1.lo + s2.lo) + (p1.lo + p2.lo)) + ((a.hi * b.lo + a.lo * b.hi) + a.mid * b.mid);
    return renormalize(p0.hi, s2.hi, low);
}

Triple multiplyDouble(const Triple &a, double b) {
    const Pair p0 = twoProduct(a.hi, b);
    const Pair p1 = twoProduct(a.mid, b);
    const Pair s = twoSum(p1.hi, p0.lo);
    return renormalize(p0.hi, s.hi, (s.lo + p1.lo) + a.lo * b);
}

// ------------------------------------------------------------- final rounding

struct Rounded {
    double value;
    bool decided;
};

// (y, e) -> y 2^e for a y on the grid of the result's format, so exact (or
// infinity when the result overflows): two factors keep each power normal.
double scaled(double y, int e) {
    const int first = e / 2;
    return y * powerOfTwo(first) * powerOfTwo(e - first);
}

double nextAbove(double y) { return fromBits(bitsOf(y) + 1); }
double nextBelow(double y) { return fromBits(bitsOf(y) - 1); }

// The sign of t + m + l beyond `err`: +1 when certainly above err, -1 when
// certainly below -err, 0 when it cannot tell.  t + m is exact (two-sum), and
// the slack covers the two roundings after it.  With err = 0 and l = 0 the
// sign is exact, and 0 means the sum is exactly zero.
int signBeyond(double t, double m, double l, double err) {
    const Pair s = twoSum(t, m);
    if (err == 0.0 && l == 0.0) return s.hi > 0.0 ? 1 : s.hi < 0.0 ? -1 : s.lo > 0.0 ? 1 : s.lo < 0.0 ? -1 : 0;
    const double sum = s.hi + (s.lo + l);
    const double slack = 0x1p-52 * (absolute(sum) + absolute(s.lo) + absolute(l));
    if (sum - slack > err) return 1;
    if (sum + slack < -err) return -1;
    return 0;
}

// The double nearest v 2^e, v = h + m + l > 0 with |m| <= 2^-50 h and
// |l| <= 2^-50 |m|, given that the exact value lies within err 2^e of v
// (err = 0: v = h + m is exact, and a v halfway between two doubles goes to
// the even one).  Handles the whole range: overflow to infinity, subnormal results
// rounded once on their own grid, and results below half the least subnormal.
//
// The candidate Y is v rounded to the grid; v rounds to Y for certain when it
// lies inside Y's rounding interval by more than err on both sides.  The
// distances to the two interval ends are computed exactly up to m + l: h - Y
// and the half gaps are exact by Sterbenz's lemma or by having few bits.
Rounded roundScaled(double h, double m, double l, double err, int e) {
    // Bring h into [1, 2); powers of two scale exactly.
    const int eh = static_cast<int>((bitsOf(h) >> 52) & 0x7ff) - 1023;
    if (eh != 0) {
        const double s = powerOfTwo(-eh);
        h *= s;
        m *= s;
        l *= s;
        err *= s;
        e += eh;
    }
    if (e > 1024) return {kInfinity, true}; // v >= 2^1025
    double y, gapAbove, gapBelow;
    if (e >= -1022) { // a normal result, or an overflow
        y = h + (m + l);
        gapAbove = nextAbove(y) - y;
        gapBelow = y - nextBelow(y);
    } else { // subnormal or zero: the grid is 2^-1074 / 2^e in v's scale
        const int gridExponent = -1074 - e; // at least -51
        if (gridExponent > 1) return {0.0, true}; // v < 2 is below half the grid
        const double grid = powerOfTwo(gridExponent);
        const double big = grid * 0x1p52; // ulp(big) = grid, and big > h + m + l
        const Pair s = twoSum(big, h);
        y = (s.hi + (s.lo + (m + l))) - big;
        gapAbove = grid;
        gapBelow = grid;
    }
    const double offset = h - y; // exact
    const int aboveTop = signBeyond(offset - gapAbove * 0.5, m, l, err);
    const int belowBottom = -signBeyond(offset + gapBelow * 0.5, m, l, err);
    if (aboveTop < 0 && belowBottom < 0) return {scaled(y, e), true};
    if (aboveTop > 0) return {scaled(y + gapAbove, e), true};
    if (belowBottom > 0) return {scaled(y - gapBelow, e), true};
    // Exactly halfway (err = 0, so l = 0): the addition that formed y from the
    // exact h + m rounded the tie to even on the result's own grid already.
    return {scaled(y, e), err == 0.0};
}

// ------------------------------------------------------------- the exponential

// x = k ln2/128 + r with |r| <= ln2/256 (plus a few ulps), and e^x = 2^(k/128) e^r.
struct ExpReduction {
    double kd;  // k as a double
    int table;  // k mod 128
    int scale;  // (k - table) / 128
};

inline ExpReduction reduceForExp(double z) {
    const double shifted = z * kExpInvStep + kRoundingShift;
    const double kd = shifted - kRoundingShift;
    const int k = static_cast<int>(static_cast<int64_t>(bitsOf(shifted) - bitsOf(kRoundingShift)));
    const int table = k & 127;
    return {kd, table, (k - table) / 128};
}

struct Approximation {
    double hi, lo;
    int scale;
};

// e^(zh + zl) 2^-scale ~ hi + lo for |zh| < 746, |zl| <= 2^-43, with
// |hi + lo - exact| < 2^-66.4 (hi is in [0.99, 2.01]).  The error budget:
//   reduction r = zh - k ln2/128 (+ zl): a = zh - k*kExpStep1 is exact
//     (k*kExpStep1 has at most 53 bits and Sterbenz's lemma applies), b =
//     k*kExpStepTail is rounded (< 2^-78.9) and kExpStepTail is ln2/128 -
//     kExpStep1 to 2^-95 (times |k| < 2^17.1: < 2^-78.9): |r error| < 2^-77.9,
//     and r = rh + rl exactly after it with |rh| < 2^-8.5, |rl| < 2^-61.5;
//   q ~ e^rh - 1 - rh = rh^2/2 + ... + rh^7/5040 (Estrin): truncation below
//     2^-83.5; the roundings of rh^2, of 0.5 + rh/6 and of the products and
//     sums after it, whose other terms are below 2^-12 of it, stay below
//     3.1 * 2^-53 of q, so below 2^-69.4;
//   e^(rh + rl) = 1 + rh + q + rl + rl rh...: rl rh is dropped (< 2^-70),
//     s = q + rl rounds (< 2^-71);
//   T = t0 + t1 with t0 of 41 bits (error < 2^-94); rh = r1 + rest with r1
//     rh rounded to a multiple of 2^-20 (12 bits), |rest| <= 2^-21, so t0 r1
//     is exact and T e^r = t0 + t0 r1 + [t0 rest + t1 + t1 (rh + s) + t0 s]: the
//     products in the bracket round below 2^-73, 2^-102 and 2^-70, and its
//     four sums, of terms below 2^-16.9, below 2^-68.
// Altogether below 2 (2^-69.4 + 2^-70 + 2^-71 + 2^-70 + 2^-68 + 2^-77.9) < 2^-66.4.
template <bool kHasTail>
inline Approximation expApproximation(double zh, double zl) {
    const ExpReduction red = reduceForExp(zh);
    const double a = zh - red.kd * kExpStep1;
    const double b = red.kd * kExpStepTail;
    Pair r = twoSum(a, -b);
    if (kHasTail) {
        const Pair withTail = twoSum(r.hi, zl);
        r = fastTwoSum(withTail.hi, withTail.lo + r.lo);
    }
    const double rh = r.hi;
    // Estrin's scheme keeps the chain of dependent operations short.
    const double square = rh * rh;
    const double q =
        square * ((0.5 + rh * kInverseFactorial[3].hi) +
                  square * ((kInverseFactorial[4].hi + rh * kInverseFactorial[5].hi) +
                            square * (kInverseFactorial[6].hi + rh * kInverseFactorial[7].hi)));
    const double s = q + r.lo;
    const Pair &t = kExpFastTable[red.table];
    const double r1 = (rh + kTwelveBitShift) - kTwelveBitShift;
    const double rest = rh - r1;
    const Pair top = fastTwoSum(t.hi, t.hi * r1);
    const double lo = top.lo + (t.lo + (t.hi * rest + (t.lo * (rh + s) + t.hi * s)));
    return {top.hi, lo, red.scale};
}

// The absolute error bound of expApproximation's hi + lo, with room for the
// roundings of lo +- bound in the test.
constexpr double kExpFastError = 0x1p-66;

// Whether hi + lo rounds to the same double as everything within err of it:
// then that double (scaled), else nothing.  For results in the normal range.
inline bool roundsSurely(const Approximation &v, double err, double &result) {
    const double up = v.hi + (v.lo + err);
    const double down = v.hi + (v.lo - err);
    if (up != down) return false;
    result = up * powerOfTwo(v.scale);
    return true;
}

// e^z ~ value 2^scale for z = hi + mid + lo, |z| < 746, relative error below
// 2^-138:
//   r = z - k ln2/128 is formed from exact products (k*kExpStep1, k*kExpStep2
//   exactly, k*kExpStep3 by Dekker, k*kExpStep4 < 2^-113 rounded) and triple
//   adds, error below 2^-150 absolute;
//   e^r = sum of r^n/n! for n <= 13 by Horner's rule, truncation below 2^-154,
//   26 operations of relative error below 2^-154 each;
//   2^(j/128) to 2^-158 and one more multiplication.
Triple expTriple(const Triple &z, int &scale) {
    const ExpReduction red = reduceForExp(z.hi);
    Triple r{z.hi - red.kd * kExpStep1, 0.0, 0.0};
    r = addDouble(r, -red.kd * kExpStep2);
    const Pair p3 = twoProduct(red.kd, kExpStep3);
    r = addDouble(r, -p3.hi);
    r = addDouble(r, -p3.lo);
    r = addDouble(r, -red.kd * kExpStep4);
    r = add(r, Triple{z.mid, z.lo, 0.0});
    Triple sum = kInverseFactorial[13];
    for (int n = 12; n >= 0; --n) sum = add(multiply(sum, r), kInverseFactorial[n]);
    scale = red.scale;
    return multiply(kExpTable[red.table], sum);
}

// Bound used with the accurate paths' results: 2^-130 relative leaves a
// factor 2^8 of room over the error bounds above.
constexpr double kAccurateError = 0x1p-130;

double roundAccurate(const Triple &v, int scale) {
    return roundScaled(v.hi, v.mid, v.lo, absolute(v.hi) * kAccurateError, scale).value;
}

// Arguments whose result is infinity, 0 or near either: no fast path.
double expOutsideFastRange(double x) {
    if (x != x) return x + x;
    if (x > 710.0) return kInfinity; // e^709.79 already rounds to infinity
    if (x < -746.0) return 0.0;      // below 2^-1075, half the least subnormal
    int scale;
    const Triple v = expTriple(Triple{x, 0.0, 0.0}, scale);
    return roundAccurate(v, scale);
}

// |x| < 2^-60: e^x lies within 2^-59 of 1, and the rounding boundaries next
// to 1 are 1 - 2^-54 and 1 + 2^-53.
constexpr double kExpTiny = 0x1p-60;
// |x| < 708: k >= -130743, so the result is at least 2^(73/128) 2^-1022, and
// k <= 130741: no overflow.
constexpr double kExpFastLimit = 708.0;

// ------------------------------------------------------------- the logarithm

// x = 2^E m with m in [0.6875, 1.375), c the bucket's inverse and r = m c - 1,
// |r| < 2^-7, exactly: m c - 1 is a multiple of 2^-60 below 2^53 of them.
// m = m1 + m2 with m1 m's leading 27 bits, so m1 c (35 bits) and m2 c (34) are exact, and
// m1 c - 1 is exact by Sterbenz's lemma.
struct LogReduction {
    int exponent;
    const LogBucket *bucket;
    double r;
};

constexpr uint64_t kLogOffset = 0x3fe6000000000000ULL; // bits of 0.6875
constexpr uint64_t kSignificandMask = (1ULL << 52) - 1;

// For positive normal x.
LogReduction reduceForLog(double x) {
    const uint64_t ix = bitsOf(x);
    const uint64_t offset = ix - kLogOffset;
    const int borrow = (ix & kSignificandMask) < (kLogOffset & kSignificandMask) ? 1 : 0;
    const int exponent = static_cast<int>(ix >> 52) - static_cast<int>(kLogOffset >> 52) - borrow;
    const LogBucket &bucket = kLogTable[(offset >> 45) & 127];
    const uint64_t im = ix - (static_cast<uint64_t>(static_cast<int64_t>(exponent)) << 52);
    const double m = fromBits(im);
    const double m1 = fromBits(im & ~((1ULL << 26) - 1));
    const double m2 = m - m1;
    const double c = bucket.inverse;
    return {exponent, &bucket, (m1 * c - 1.0) + m2 * c};
}

// A positive finite x as 2^shift times a normal double.
double normalized(double x, int &shift) {
    shift = 0;
    if (x < 0x1p-1022) {
        shift = -64;
        return x * 0x1p64;
    }
    return x;
}

struct LogApproximation {
    Pair value;
    double error;
};

// ln x ~ hi + lo for positive normal x, with an error below
// 2^-52 |r|^3 + 2^-87 |r| + (E = 0 and c = 1 ? 0 : 2^-75):
//   E ln 2 = E kLn2Part1 (exact) + E kLn2Tail (|E| < 2^10.1: < 2^-86 off);
//   -ln c to 2^-107; r and r^2 exact, and so are the two-sums;
//   r^3 (1/3 - r/4 + ... - r^9/12) (Estrin) rounds below 3.1 * 2^-53 of
//     itself, that is 2^-52.9 |r|^3 (1/3 + r/4 ... rounds below 2^-53 (1 +
//     2^-5) of itself, r^3 and the last product below 2^-53 each), and the
//     truncation is below 2^-87.7 |r|;
//   the small terms are summed with r^3 (...) last: the sums before round
//     below 2^-84, the last one below 2^-53 (|r|^3/3 + 2^-53 |r|) where E = 0
//     and c = 1, else below 2^-75.5.
// The first term dominates where x is near 1, the last elsewhere.
LogApproximation logApproximation(double x, int shift) {
    const LogReduction red = reduceForLog(x);
    const double e = static_cast<double>(red.exponent + shift);
    const double r = red.r;
    const Pair base = twoSum(e * kLn2Part1, red.bucket->minusLog.hi);
    const Pair square = twoProduct(r, r);
    const Pair linear = fastTwoSum(r, -0.5 * square.hi);
    // Estrin's scheme in r and r^2 = square.hi, r^4 and r^8.
    const double r2 = square.hi;
    const double r4 = r2 * r2;
    const double low4 = (kLogSeries[3].hi + r * kLogSeries[4].hi) + r2 * (kLogSeries[5].hi + r * kLogSeries[6].hi);
    const double high4 = (kLogSeries[7].hi + r * kLogSeries[8].hi) + r2 * (kLogSeries[9].hi + r * kLogSeries[10].hi);
    const double top = kLogSeries[11].hi + r * kLogSeries[12].hi;
    const double cubic = (r * r2) * (low4 + r4 * (high4 + r4 * top));
    const Pair sum = twoSum(base.hi, linear.hi);
    const double low = (((base.lo + linear.lo) + sum.lo) +
                        ((e * kLn2Tail + red.bucket->minusLog.mid) - 0.5 * square.lo)) + cubic;
    const double ar = absolute(r);
    const double floor = (e == 0.0 && red.bucket->inverse == 1.0) ? 0.0 : 0x1p-75;
    return {fastTwoSum(sum.hi, low), 0x1p-52 * (ar * ar * ar) + 0x1p-87 * ar + floor};
}

// ln x for positive normal x, relative error below 2^-149 (the terms have one
// sign or differ by at most a factor 2, so no cancellation costs bits):
//   E ln 2 from four parts (E kLn2Part1, E kLn2Part2 exact, E kLn2Part3 by Dekker);
//   -ln c to 2^-158;
//   ln(1 + r) = sum of (-1)^(n+1) r^n/n for n <= 22 (truncation below 2^-161 r),
//   44 operations of relative error below 2^-154 each.
Triple logTriple(double x, int shift) {
    const LogReduction red = reduceForLog(x);
    const double e = static_cast<double>(red.exponent + shift);
    const Pair p3 = twoProduct(e, kLn2Part3);
    Triple sum = Triple{e * kLn2Part1, 0.0, 0.0};
    sum = addDouble(sum, e * kLn2Part2);
    sum = addDouble(sum, p3.hi);
    sum = addDouble(sum, p3.lo);
    sum = addDouble(sum, e * kLn2Part4);
    sum = add(sum, red.bucket->minusLog);
    Triple series = kLogSeries[22];
    for (int n = 21; n >= 1; --n) series = add(multiplyDouble(series, red.r), kLogSeries[n]);
    return add(sum, multiplyDouble(series, red.r));
}

// ------------------------------------------------------------- the power function

enum class IntegerKind { None, Odd, Even };

// From the bits: y = 1.f 2^e is an integer when no bit of f lies below 2^0,
// odd when its last one lies at 2^0.
IntegerKind integerKind(double y) {
    const int e = static_cast<int>((bitsOf(y) >> 52) & 0x7ff) - 1023;
    if (e < 0) return IntegerKind::None; // |y| < 1 (0 is handled before)
    if (e > 52) return IntegerKind::Even; // every double from 2^53 on (and inf: unused)
    const uint64_t fraction = bitsOf(y) & kSignificandMask;
    const uint64_t belowOne = (1ULL << (52 - e)) - 1;
    if (fraction & belowOne) return IntegerKind::None;
    return e == 0 || (fraction >> (52 - e)) & 1 ? IntegerKind::Odd : IntegerKind::Even;
}

// An odd integer M and E with x = M 2^E (x > 0 finite).
void oddTimesPowerOfTwo(double x, uint64_t &odd, int &exponent) {
    const uint64_t bits = bitsOf(x);
    const int biased = static_cast<int>(bits >> 52);
    odd = bits & kSignificandMask;
    if (biased == 0) {
        exponent = -1074;
    } else {
        odd |= 1ULL << 52;
        exponent = biased - 1075;
    }
    while ((odd & 1) == 0) {
        odd >>= 1;
        ++exponent;
    }
}

// Whether x^y (x > 0 finite, x != 1, y finite) is exactly R 2^n with R an odd
// integer below 2^54: then `value` holds R exactly and `scale` n.  Only such
// results can lie on a rounding boundary (a double or a midpoint between two,
// in the subnormal range too), where no approximation decides.
//   x = M 2^E with M odd.  M = 1: x^y = 2^(E y), a boundary case when E y is an
//   integer.  M > 1: x^y is a dyadic rational only for y = N 2^-F > 0 with M a
//   perfect 2^F-th power; M < 2^53 and a root of at least 3 allow F <= 5, and
//   R = M^y < 2^54 allows y <= 34.1.
bool exactPower(double x, double y, Triple &value, int &scale) {
    uint64_t odd;
    int exponent;
    oddTimesPowerOfTwo(x, odd, exponent);
    if (odd == 1) {
        const double n = static_cast<double>(exponent) * y; // exact when it is a small integer
        if (std::floor(n) != n || absolute(n) > 4096.0) return false;
        value = Triple{1.0, 0.0, 0.0};
        scale = static_cast<int>(n);
        return true;
    }
    if (!(y > 0.0) || y > 35.0) return false;
    int rootOrder = 0; // F
    double scaledY = y;
    while (std::floor(scaledY) != scaledY) {
        if (++rootOrder > 5) return false;
        scaledY *= 2.0;
    }
    double root = static_cast<double>(odd);
    for (int i = 0; i < rootOrder; ++i) {
        const double s = std::sqrt(root);
        if (std::floor(s) != s || s * s != root) return false;
        root = s;
    }
    const auto rootInteger = static_cast<uint64_t>(root);
    const auto times = static_cast<int64_t>(scaledY); // N = y 2^F
    uint64_t power = 1;
    const uint64_t limit = 1ULL << 54;
    for (int64_t i = 0; i < times; ++i) {
        if (power > (limit - 1) / rootInteger) return false;
        power *= rootInteger;
    }
    const int64_t numerator = static_cast<int64_t>(exponent) * times; // E N
    if (numerator % (int64_t(1) << rootOrder) != 0) return false;
    scale = static_cast<int>(numerator / (int64_t(1) << rootOrder));
    const uint64_t even = power & ~1ULL;
    value = Triple{static_cast<double>(even), static_cast<double>(power & 1), 0.0};
    return true;
}

// The accurate path: e^(y ln x) in triple-double for x > 0, relative error
// below 2^-138 (ln x to 2^-149, y ln x one multiplication more, so its absolute
// error stays below 746 * 2^-148.9 < 2^-139, and e^z to 2^-150).  Results that
// are doubles or midpoints are settled exactly first.
double powAccurate(double x, double y) {
    Triple exact;
    int scale;
    if (exactPower(x, y, exact, scale)) return roundScaled(exact.hi, exact.mid, exact.lo, 0.0, scale).value;
    int shift;
    const double xn = normalized(x, shift);
    const Triple z = multiplyDouble(logTriple(xn, shift), y);
    if (z.hi > 710.0) return kInfinity;
    if (z.hi < -746.0) return 0.0;
    const Triple v = expTriple(z, scale);
    return roundAccurate(v, scale);
}

// Double-double product, relative error below 2^-104.
Pair multiplyPairs(const Pair &a, const Pair &b) {
    const Pair p = twoProduct(a.hi, b.hi);
    return fastTwoSum(p.hi, p.lo + (a.hi * b.lo + a.lo * b.hi));
}

// x^n for an integer 1 <= |n| <= 64 by binary powering in double-double on the
// significand u in [1, 2): at most 12 products, so u^|n| is within
// (|n| - 1) 2^-104 < 2^-98 of itself, and the reciprocal for n < 0 adds
// 2^-104; the exponent E n is applied in the final rounding.
bool integerPowerFast(double x, int n, double &result) {
    const int biased = static_cast<int>(bitsOf(x) >> 52);
    int exponent = biased - 1023;
    double u = fromBits((bitsOf(x) & kSignificandMask) | 0x3ff0000000000000ULL);
    if (biased == 0) { // subnormal: normalize first
        int shift;
        const double xn = normalized(x, shift);
        exponent = static_cast<int>(bitsOf(xn) >> 52) - 1023 + shift;
        u = fromBits((bitsOf(xn) & kSignificandMask) | 0x3ff0000000000000ULL);
    }
    unsigned count = static_cast<unsigned>(n < 0 ? -n : n);
    Pair base{u, 0.0};
    Pair power{1.0, 0.0};
    while (true) {
        if (count & 1) power = multiplyPairs(power, base);
        count >>= 1;
        if (count == 0) break;
        base = multiplyPairs(base, base);
    }
    if (n < 0) {
        const double q = 1.0 / power.hi;
        const Pair t = twoProduct(q, power.hi);
        const double remainder = ((1.0 - t.hi) - t.lo) - q * power.lo;
        power = fastTwoSum(q, q * remainder);
    }
    const int scale = exponent * n; // power is in [2^-64, 2^64]
    if (scale > -950 && scale < 950) return roundsSurely({power.hi, power.lo, scale}, power.hi * 0x1p-97, result);
    const Rounded r = roundScaled(power.hi, power.lo, 0.0, power.hi * 0x1p-97, scale);
    result = r.value;
    return r.decided;
}

// Error bound of e^(y ln x) ~ hi + lo from logApproximation and
// expApproximation: ln x within logError makes z = y ln x within
// |y| logError + 2^-103 |z| (Dekker's product, then y lo and the sum
// rounded), which is the relative error it gives e^z; with
// expApproximation's 2^-66.4 and hi < 2.01 the absolute error of hi + lo is
// below 2^-65.3 + 2.01 (|y| logError + 2^-103 |z|), written with room to spare.
inline double powFastError(double z, double y, double logError) {
    return 0x1p-65 + 0x1p1 * (absolute(y) * logError + 0x1p-103 * absolute(z));
}

// x^y for x > 0 finite, x != 1, y finite and non-zero, through the fast path
// when it decides.
bool powPositiveFast(double x, double y, double &result) {
    int shift;
    const double xn = normalized(x, shift);
    const LogApproximation logX = logApproximation(xn, shift);
    const Pair z = twoProduct(y, logX.value.hi);
    const double zl = z.lo + y * logX.value.lo;
    if (z.hi > 709.8) { // e^709.79 rounds to infinity; the error is far below 0.01
        result = kInfinity;
        return true;
    }
    if (z.hi < -745.2) { // below 2^-1075 (ln 2^-1075 = -745.133...)
        result = 0.0;
        return true;
    }
    if (!(absolute(z.hi) < kExpFastLimit)) return false;
    const Approximation v = expApproximation<true>(z.hi, zl);
    return roundsSurely(v, powFastError(z.hi, y, logX.error), result);
}

// |y| above 2^80 with x != 1: |y ln x| >= 2^80 2^-53 overflows or underflows.
constexpr double kPowHugeExponent = 0x1p80;
// |y| below 2^-80: |y ln x| < 2^-70, and x^y rounds to 1.
constexpr double kPowTinyExponent = 0x1p-80;

double powPositive(double x, double y, IntegerKind kind) {
    const double ay = absolute(y);
    if (ay > kPowHugeExponent) return ((x > 1.0) == (y > 0.0)) ? kInfinity : 0.0;
    if (ay < kPowTinyExponent) return 1.0;
    double result;
    if (kind != IntegerKind::None && ay <= 64.0) {
        if (integerPowerFast(x, static_cast<int>(y), result)) return result;
    } else if (powPositiveFast(x, y, result)) {
        return result;
    }
    return powAccurate(x, y);
}

} // namespace

namespace detail {

bool fastExp(double x, double &result) {
    const double ax = absolute(x);
    if (!(ax < kExpFastLimit)) return false;
    if (ax < kExpTiny) {
        result = 1.0;
        return true;
    }
    return roundsSurely(expApproximation<false>(x, 0.0), kExpFastError, result);
}

bool fastPow(double x, double y, double &result) {
    if (!(x > 0.0) || x == kInfinity || x == 1.0 || y != y || absolute(y) == kInfinity || y == 0.0) return false;
    const double ay = absolute(y);
    if (!(ay >= kPowTinyExponent && ay <= kPowHugeExponent)) return false;
    if (integerKind(y) != IntegerKind::None && ay <= 64.0) return integerPowerFast(x, static_cast<int>(y), result);
    return powPositiveFast(x, y, result);
}

} // namespace detail

double correctlyRoundedExp(double x) {
    const double ax = absolute(x);
    if (!(ax < kExpFastLimit)) return expOutsideFastRange(x);
    if (ax < kExpTiny) return 1.0;
    double result;
    if (roundsSurely(expApproximation<false>(x, 0.0), kExpFastError, result)) return result;
    int scale;
    const Triple v = expTriple(Triple{x, 0.0, 0.0}, scale);
    return roundAccurate(v, scale);
}

double correctlyRoundedPow(double x, double y) {
    if (y == 0.0 || x == 1.0) return 1.0;
    if (x != x || y != y) return x + y;
    const double ax = absolute(x);
    const double ay = absolute(y);
    if (ay == kInfinity) {
        if (ax == 1.0) return 1.0; // (-1)^(+-inf)
        return ((ax > 1.0) == (y > 0.0)) ? kInfinity : 0.0;
    }
    const IntegerKind kind = integerKind(y);
    const bool negativeX = (bitsOf(x) >> 63) != 0; // -0 too
    const bool negativeResult = negativeX && kind == IntegerKind::Odd;
    if (ax == 0.0 || ax == kInfinity) {
        // 0^y and inf^y: 0 or infinity, keeping x's sign for odd integers y.
        const bool infinite = (ax == 0.0) == (y < 0.0);
        const double magnitude = infinite ? kInfinity : 0.0;
        return negativeResult ? -magnitude : magnitude;
    }
    if (negativeX && kind == IntegerKind::None) return std::numeric_limits<double>::quiet_NaN();
    if (ax == 1.0) return negativeResult ? -1.0 : 1.0;
    const double magnitude = powPositive(ax, y, kind);
    return negativeResult ? -magnitude : magnitude;
}

} // namespace vesk
