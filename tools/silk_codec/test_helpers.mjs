// Shared helpers for the tests in test/, which check the native
// silk_v3_encoder and silk_v3_decoder against silk-wasm itself, run here
// under Node as the reference. This file lives outside test/ because Node's
// test runner would otherwise run it as a test file of its own.
//
// SILK_CODEC_BIN_DIR names the folder holding the two tools, and
// SILK_CODEC_EXE_SUFFIX their suffix (".exe" for the Windows build);
// SILK_CODEC_RUNNER, if set, is a program that runs them (scripts/wine-run).

import { spawnSync } from 'node:child_process';
import { lstatSync, mkdtempSync, readdirSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { after } from 'node:test';
import { decode, encode } from 'silk-wasm';

export const RATE = 24000;
const BIN_DIR = process.env.SILK_CODEC_BIN_DIR;
if (!BIN_DIR) throw new Error('SILK_CODEC_BIN_DIR must name the folder of the native tools');
const SUFFIX = process.env.SILK_CODEC_EXE_SUFFIX || '';
const RUNNER = process.env.SILK_CODEC_RUNNER || '';
export const ENCODER = path.join(BIN_DIR, `silk_v3_encoder${SUFFIX}`);
export const DECODER = path.join(BIN_DIR, `silk_v3_decoder${SUFFIX}`);

// Starts a tool with an argv array and no shell; `env` adds to the environment.
export function run(program, args, env = {}) {
  const [file, words] = RUNNER ? [RUNNER, [program, ...args]] : [program, args];
  const r = spawnSync(file, words, {
    encoding: 'utf8', timeout: 300_000, env: { ...process.env, ...env },
  });
  if (r.error) throw r.error;
  return r;
}

// Runs a tool that must succeed.
export function runOk(program, args) {
  const r = run(program, args);
  if (r.status !== 0 || r.stderr !== '') {
    throw new Error(`${path.basename(program)} exited ${r.status}: ${r.stderr}`);
  }
}

// silk-wasm's own results, the reference for byte identity.
export async function referenceEncode(pcm) {
  return Buffer.from((await encode(pcm, RATE)).data);
}
export async function referenceDecode(silk) {
  return Buffer.from((await decode(silk, RATE)).data);
}

// Raw s16le mono PCM of a sine tone at 24000 Hz.
export function tone(seconds, hz = 440) {
  const n = Math.round(seconds * RATE);
  const pcm = Buffer.alloc(n * 2);
  for (let i = 0; i < n; i++) {
    pcm.writeInt16LE(Math.round(8000 * Math.sin((2 * Math.PI * hz * i) / RATE)), i * 2);
  }
  return pcm;
}

// Mandarin speech from espeak-ng, through ffmpeg at `sourceRate` (as a
// source recorded at that rate would be), then to 24 kHz s16le.
export function speech(dir, text, sourceRate) {
  const wav = path.join(dir, `speech-${sourceRate}.wav`);
  const source = path.join(dir, `source-${sourceRate}.wav`);
  const pcm = path.join(dir, `speech-${sourceRate}.pcm`);
  const steps = [
    ['espeak-ng', ['-v', 'cmn', '-w', wav, text]],
    ['ffmpeg', ['-v', 'error', '-y', '-i', wav, '-ar', String(sourceRate), source]],
    ['ffmpeg', ['-v', 'error', '-y', '-i', source, '-f', 's16le', '-ar', String(RATE), '-ac', '1', pcm]],
  ];
  for (const [program, args] of steps) {
    const r = spawnSync(program, args, { encoding: 'utf8' });
    if (r.status !== 0) throw new Error(`${program} failed: ${r.stderr}`);
  }
  return readFileSync(pcm);
}

// A fresh temporary folder, removed once the calling test file has finished.
export function tempRoot() {
  const dir = mkdtempSync(path.join(tmpdir(), 'silk-codec-test-'));
  after(() => rmSync(dir, { recursive: true, force: true }));
  return dir;
}

export function write(file, data) {
  writeFileSync(file, data);
  return file;
}

// Every entry below dir with its content, so a before/after comparison catches
// a new, removed or changed file, including a leftover temporary file.
export function snapshot(dir) {
  const out = {};
  for (const name of readdirSync(dir, { recursive: true })) {
    const full = path.join(dir, name);
    out[name] = lstatSync(full).isDirectory() ? '<dir>' : readFileSync(full).toString('hex');
  }
  return out;
}
