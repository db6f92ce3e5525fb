// The page is built into build/web: relative addresses throughout, so the folder works from any
// static host and any sub-folder, and offline once loaded.
//
// `vite build --mode archivo` builds the same page as one self-contained HTML file instead
// (build/archivo/index.html, which scripts/web puts beside the rest as build/web/tr4visor.html):
// opened from disk, a page may start a worker only from a Blob URL and only as a classic script,
// and can fetch nothing beside it, so the worker travels inside the page as one classic script
// and the core's module inside the worker as base64.
import path from 'node:path';
import { defineConfig } from 'vite';
import { viteSingleFile } from 'vite-plugin-singlefile';

const fuentes = path.join(import.meta.dirname, 'src');

const servida = {
  root: import.meta.dirname,
  base: './',
  build: {
    outDir: '../build/web',
    emptyOutDir: true,
    target: 'es2022',
    chunkSizeWarningLimit: 1024,
    rollupOptions: {
      input: {
        index: `${import.meta.dirname}/index.html`,
        medida: `${import.meta.dirname}/medida.html`,
      },
    },
  },
  worker: { format: 'es' },
  server: { fs: { allow: ['..'] } },
  preview: { host: '127.0.0.1' },
};

const archivo = {
  root: import.meta.dirname,
  base: './',
  plugins: [viteSingleFile({ removeViteModuleLoader: true })],
  resolve: {
    // How the worker is started and how it gets the module: the inline forms.
    alias: [
      { find: /^\.\/arranque\.js$/, replacement: path.join(fuentes, 'arranqueArchivo.js') },
      { find: /^\.\/modulo\.js$/, replacement: path.join(fuentes, 'moduloArchivo.js') },
    ],
  },
  build: {
    outDir: '../build/archivo',
    emptyOutDir: true,
    target: 'es2022',
    chunkSizeWarningLimit: 4096,
    reportCompressedSize: false,
    rollupOptions: { input: `${import.meta.dirname}/index.html` },
  },
  worker: { format: 'iife' },
};

export default defineConfig(({ mode }) => (mode === 'archivo' ? archivo : servida));
