// The page is built into build/web: relative addresses throughout, so the folder works from any
// static host and any sub-folder, and offline once loaded.
import { defineConfig } from 'vite';

export default defineConfig({
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
});
